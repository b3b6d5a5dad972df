// The level's tiles as one layer: a bitmap of the whole grid, drawn tile by tile once and
// then copied whole into every frame. Drawn again whenever the grid or a tile image
// handle changes, so every frame shows what drawing each tile would show.
#pragma once

namespace Zarvok {

// Draws the 2000 tiles of Background: the layer copied whole, or, where no layer can be
// made (a tile image missing, no room for the bitmap), each tile on its own.
void TekenTegellaag();
// Forgets the layer without destroying it: the bitmap table it lay in is gone or new.
void VergeetTegellaag();

}  // namespace Zarvok
