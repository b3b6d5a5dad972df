// The drawing scripts that describe every picture, one command a line:
//
//   include FILE                       runs another script (relative to the art folder)
//   image NAME W H                     starts the picture NAME (black); the next `image`
//                                      or the end of the scripts finishes it
//   fill COLOUR                        covers the whole picture
//   rect X Y W H COLOUR
//   gradient X Y W H TOP BOTTOM        a rectangle shaded from TOP to BOTTOM
//   round X Y W H R COLOUR [BOTTOM]    a rounded rectangle, optionally shaded
//   ellipse CX CY RX RY COLOUR
//   polygon COLOUR X Y X Y ...         filled by the nonzero winding rule
//   line X0 Y0 X1 Y1 WIDTH COLOUR      a straight band with flat ends
//   text X Y W H SIZE COLOUR "TEXT" [outline N COLOUR] [shadow DX DY COLOUR]
//                                      bold text centred in the box
//   art FILE X Y [mirror] [scale N]    a pixel-art grid (see PixelArt.h), mirrored or
//                                      at another scale if asked
//   tile NAME X Y W H [DX DY] [scale N]
//                                      repeats a finished picture over a rectangle, its
//                                      pattern shifted by (DX, DY), its pixels N x N
//   crop NAME X Y                      the whole picture from a finished picture, at (X, Y)
//   mirror                             flips the picture left to right
//   threshold                          black and white: light where the mean of red,
//                                      green and blue is at least 128
//
// Colours are #RRGGBB or #RRGGBBAA. Lines starting with # are comments.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Image.h"

namespace Artgen {

// A finished picture under the file name it is written to.
struct NamedImage {
    std::string name;
    Image image;
};

// Runs the script `main` (a file name inside `artDir`) and returns the pictures it makes,
// in the order they were started. Throws SourceError naming file and line of a fault,
// std::runtime_error when the text face is missing.
std::vector<NamedImage> RunScripts(const std::string& artDir, const std::string& main);

}  // namespace Artgen
