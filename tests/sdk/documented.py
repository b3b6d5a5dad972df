#!/usr/bin/python3
"""Every public function of the three libraries is documented: each function its header
declares has a '### Name' entry in its docs/reference page and a line in docs/cheatsheet.md,
and every entry of a reference page names a function the header declares. Prints what is
missing; exits non-zero when anything is."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LIBRARIES = {"vuderiv": "Vuderiv.h", "standardmenu": "StandardMenu.h",
             "standardlib": "StandardLib.h"}
# A declaration's name: the word before '(' that follows a return type at a line's start.
DECLARATION = re.compile(
    r"^[ \t]*(?:\[\[noreturn\]\][ \t]+)?(?:(?:constexpr|const)[ \t]+)*[\w:<>]+[ \t*&]+(\w+)\(", re.M)


def read(*parts):
    with open(os.path.join(ROOT, *parts)) as f:
        return f.read()


def functions(header):
    without_comments = re.sub(r"//[^\n]*", "", header)
    return sorted(set(DECLARATION.findall(without_comments)))


def problems():
    cheatsheet = read("docs", "cheatsheet.md")
    for library, header in LIBRARIES.items():
        declared = functions(read("src", library, header))
        page = read("docs", "reference", library + ".md")
        entries = set(re.findall(r"^### (\w+)$", page, re.M))
        for name in declared:
            if name not in entries:
                yield f"docs/reference/{library}.md: no '### {name}' for {header}'s {name}"
            if not re.search(rf"`{name}\(", cheatsheet):
                yield f"docs/cheatsheet.md: no line for {header}'s {name}"
        for name in sorted(entries - set(declared)):
            yield f"docs/reference/{library}.md: '### {name}' is no function of {header}"


def main():
    found = list(problems())
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
