// Maximum-intensity projections of located values into one image (the MIP
// matrix) holding three orthogonal views side by side: view 1 looks along z,
// view 2 along x, view 3 along y. Each point covers a small rectangle in
// every view it fits in.
//
// Two layouts. The general one is sized by the view extents DX, DY, DZ and
// placed by the origins CX, CY, CZ (the pixel index of coordinate 0 along
// each axis); each view is one block of the matrix:
//
//   view 1: rows 0 .. DY-1 (y),       columns 0 .. DX-1 (x, mirrored)
//   view 2: rows 0 .. DY-1 (y),       columns DX .. DX+DZ-1 (z)
//   view 3: rows DY .. DY+DX-1 (x),   columns DX .. DX+DZ-1 (z)
//
// Coordinates are rounded to whole pixels (floor(c + 0.5)); a point covers
// 2*(s/2)+1 pixels centred on it along an axis of extent s; a pixel takes a
// value only when it is greater than what it holds (so NaN is never drawn);
// a rectangle that does not fit wholly inside its view is not drawn there.
//
// The fixed layout is 360 x 352 pixels with built-in places. Coordinates are
// truncated toward zero; a rectangle starts at its place and covers s pixels
// along an axis of extent s. Each view compares the point's value with one
// pixel of the matrix and sets its whole rectangle to the larger of the two,
// so a later point can lower pixels an earlier one drew. A rectangle that, or
// whose compared pixel, does not lie wholly inside the matrix is not drawn.
//
// Points whose coordinates are not finite or whose whole pixels lie beyond
// the 32-bit range are skipped in every view. Nothing is ever read or written
// outside the matrix. Cost: one pass clearing the matrix, then one over the
// points, touching only the pixels of their rectangles; nothing is
// allocated.
#pragma once

#include <cstdint>
#include <optional>

namespace nrx {

// N points: point i has value values[i] and location (x, y, z) =
// locations[3i], locations[3i+1], locations[3i+2].
struct MipPoints {
    const double* values;
    const double* locations;
    std::int32_t count;
};

struct MipSize {
    std::int32_t rows;
    std::int32_t columns;
};

// The MIP matrix size: the integer parts of dims[3] (rows) and dims[4]
// (columns). Nothing when either is negative, NaN or beyond the 32-bit
// range, or when rows x columns is.
std::optional<MipSize> mip_matrix_size(const double dims[5]);

enum class MipLayout { general, fixed, none };

// Clears mip (size.rows x size.columns doubles, column-major; pixel (r, c)
// at r + rows*c) and draws every point into it, in order. dims holds the
// point extents vx, vy, vz (a point covers trunc(|v| + 0.99) pixels' worth
// along each axis) then the size; dxyz and cxyz hold DX, DY, DZ and CX, CY,
// CZ (integer parts taken), or are null for the built-in (182, 218, 182) and
// (89, 125, 71).
//
// The general layout is drawn when DX, DY and DZ are 32-bit numbers with
// rows = DY + DX and columns = DZ + DX; otherwise the fixed layout when the
// matrix is 360 x 352; otherwise nothing is drawn and the result is
// MipLayout::none. A negative DX, DY or DZ empties the views it sizes; parts
// of views that it pushes past the matrix's edge hold no rectangle. An
// origin that is not a whole 32-bit number places nothing in the views that
// use its axis; an extent beyond the 32-bit range (or NaN) fits in no view.
MipLayout render_mip(const MipPoints& points, const double dims[5], const double* dxyz, const double* cxyz,
                     MipSize size, double* mip);

}  // namespace nrx
