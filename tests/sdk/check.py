#!/usr/bin/python3
"""The libraries as another project uses them.

Installs the Development component of build/ (or of the build folder that ZARVOK_BUILD
names) into a scratch prefix, builds each program in examples/ as a CMake project of its
own through find_package, builds one through pkg-config alone, runs two of them in a real
X window (Xvfb) until they end with status 0,
configures projects that embed the source tree or one library folder, and makes the
Debian packages and has lintian check them. Prints one line per case and a closing
'N passed, N failed' line; exits non-zero when a case fails.
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                                "e2e"))
import run  # noqa: E402
from run import DATA, ROOT, Game, until  # noqa: E402

BUILD = os.environ.get("ZARVOK_BUILD", os.path.join(ROOT, "build"))
EXAMPLES = os.path.join(ROOT, "examples")
HEADERS = ["StandardLib.h", "StandardMenu.h", "Vuderiv.h"]
PACKAGES = ["StandardLib", "StandardMenu", "Vuderiv"]


def sh(*command, **options):
    """Runs a command; a failure names it with its output."""
    done = subprocess.run(command, capture_output=True, text=True, timeout=600, **options)
    assert done.returncode == 0, f"{' '.join(command)}: {done.stdout[-1500:]}{done.stderr[-1500:]}"
    return done.stdout


def files_under(folder):
    return sorted(os.path.relpath(os.path.join(top, name), folder)
                  for top, _, names in os.walk(folder) for name in names)


def case_the_development_component_holds_the_libraries_alone(work):
    found = files_under(work.prefix)
    assert sorted(f for f in found if f.startswith("include/")) == [
        "include/zarvok/" + h for h in HEADERS], found
    for package in PACKAGES:
        assert f"lib/cmake/{package}/{package}Config.cmake" in found, (package, found)
        assert f"lib/pkgconfig/{package.lower()}.pc" in found, (package, found)
        assert f"lib/lib{package.lower()}.a" in found, (package, found)
    assert not any(f.startswith(("bin/", "share/zarvok/")) for f in found), found
    with tempfile.TemporaryDirectory() as plain:  # the full install: the game as before
        sh("cmake", "--install", BUILD, "--prefix", plain)
        installed = files_under(plain)
        assert "bin/zarvok" in installed, installed
        assert not any(f.startswith(("include/", "lib/")) for f in installed), installed


def case_each_example_builds_through_find_package(work):
    for name in ["shapes", "bitmaps", "menu", "sprites"]:
        build = os.path.join(work.root, name)
        sh("cmake", "-S", os.path.join(EXAMPLES, name), "-B", build, "-G", "Ninja",
           f"-DCMAKE_PREFIX_PATH={work.prefix}", "-DCMAKE_CXX_FLAGS=-Wall -Wextra -Werror")
        sh("cmake", "--build", build)
        assert os.access(os.path.join(build, name), os.X_OK), name


def case_pkg_config_alone_builds_the_menu(work):
    env = dict(os.environ, PKG_CONFIG_PATH=os.path.join(work.prefix, "lib", "pkgconfig"))
    assert sh("pkg-config", "--modversion", "vuderiv", env=env).strip() == "1.0.0"
    flags = sh("pkg-config", "--cflags", "--libs", "standardmenu", env=env).split()
    program = os.path.join(work.root, "menu-pc")
    sh("g++", os.path.join(EXAMPLES, "menu", "main.cpp"), "-o", program, *flags)


def case_the_menu_example_goes_to_its_second_screen_and_back_and_quits(work):
    program = os.path.join(work.root, "menu", "menu")
    game = Game(work.xserver, cwd=work.root, program=program, args=[DATA], title="Menu")
    try:
        until(lambda: game.shows("start0.bmp", 50, 50), "the main screen")
        game.click(100, 80)  # START
        until(lambda: not game.shows("start0.bmp", 50, 50), "the second screen")
        game.click(250, 300)  # BACK
        until(lambda: game.shows("start0.bmp", 50, 50), "the main screen again")
        game.click(100, 230)  # QUIT
        code = game.wait(30)
        assert code == 0, f"exit status {code}: {game.proc.stderr.read()[-1500:]}"
    finally:
        game.stop()


def case_the_shapes_example_sees_a_tap_and_ends_on_escape(work):
    program = os.path.join(work.root, "shapes", "shapes")
    game = Game(work.xserver, cwd=work.root, program=program, title="Shapes")
    try:
        until(lambda: game.pixel(0, 0) != (0, 0, 0), "the first frame")
        game.key("keydown", "Escape")  # it ends on the press: a release could find no window
        code = game.wait(30)
        assert code == 0, f"exit status {code}: {game.proc.stderr.read()[-1500:]}"
    finally:
        game.stop()


def embedding_menu(work, name, line):
    """Configures a project of its own that embeds Zarvok with the line and builds the menu
    example on StandardMenu::StandardMenu; its build folder and what 'all' would run."""
    source = os.path.join(work.root, name)
    os.mkdir(source)
    with open(os.path.join(source, "CMakeLists.txt"), "w") as f:
        f.write("cmake_minimum_required(VERSION 3.25)\nproject(embedding CXX)\n"
                f"{line}\nadd_executable(menu {EXAMPLES}/menu/main.cpp)\n"
                "target_link_libraries(menu PRIVATE StandardMenu::StandardMenu)\n")
    build = os.path.join(source, "build")
    sh("cmake", "-S", source, "-B", build, "-G", "Ninja")
    planned = sh("ninja", "-C", build, "-n", "all")
    assert "Linking CXX executable menu" in planned, planned[-1500:]
    return build, planned


def case_a_project_embeds_the_tree_and_builds_none_of_the_game(work):
    # in a folder named after the game: none of the game's outputs may land there
    build, planned = embedding_menu(work, "embeds-tree", f"add_subdirectory({ROOT} zarvok)")
    for foreign in ["test_", "bench_", "artgen", "levelcheck", "zarvok/zarvok "]:
        assert foreign not in planned, (foreign, planned[-1500:])
    with tempfile.TemporaryDirectory() as prefix:
        sh("cmake", "--install", build, "--prefix", prefix)
        assert files_under(prefix) == [], files_under(prefix)


def case_a_project_embeds_one_library_folder(work):
    embedding_menu(work, "embeds-menu", f"add_subdirectory({ROOT}/src/standardmenu standardmenu)")


def case_one_packaging_run_makes_the_game_and_a_lintian_clean_dev_package(work):
    out = os.path.join(work.root, "packages")
    sh("cpack", "-G", "DEB", "-B", out, cwd=BUILD)
    debs = {f.split("_")[0]: f for f in os.listdir(out) if f.endswith(".deb")}
    assert sorted(debs) == ["zarvok", "zarvok-dev"], debs
    dev = os.path.join(out, debs["zarvok-dev"])
    depends = sh("dpkg-deb", "--field", dev, "Depends")
    for package in ["libsdl2-dev", "libsdl2-ttf-dev", "libfontconfig-dev", "libx11-dev"]:
        assert package in depends, depends
    contents = sh("dpkg-deb", "--contents", dev)
    assert "./usr/include/zarvok/Vuderiv.h" in contents and "/bin/" not in contents, contents
    checked = subprocess.run(["lintian", *[os.path.join(out, d) for d in debs.values()]],
                             capture_output=True, text=True, timeout=600)
    errors = [line for line in checked.stdout.splitlines() if line.startswith("E:")]
    assert not errors, "\n".join(errors)


CASES = [case_the_development_component_holds_the_libraries_alone,
         case_each_example_builds_through_find_package,
         case_pkg_config_alone_builds_the_menu,
         case_the_menu_example_goes_to_its_second_screen_and_back_and_quits,
         case_the_shapes_example_sees_a_tap_and_ends_on_escape,
         case_a_project_embeds_the_tree_and_builds_none_of_the_game,
         case_a_project_embeds_one_library_folder,
         case_one_packaging_run_makes_the_game_and_a_lintian_clean_dev_package]


class Work:
    """A scratch folder with the Development component installed under prefix/."""

    def __init__(self, root, xserver):
        self.root, self.xserver = root, xserver
        self.prefix = os.path.join(root, "prefix")
        sh("cmake", "--install", BUILD, "--component", "Development", "--prefix", self.prefix)


def main():
    passed = failed = 0
    with tempfile.TemporaryDirectory() as root, run.Xserver() as xserver:
        work = Work(root, xserver)
        for case in CASES:
            name = case.__name__[len("case_"):]
            try:
                case(work)
                print(f"ok      {name}", flush=True)
                passed += 1
            except Exception as error:  # a failed case is reported, the others still run
                print(f"FAILED  {name}: {error!r}", flush=True)
                failed += 1
    print(f"sdk: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
