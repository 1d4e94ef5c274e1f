// The kernel box of the phase-map filters, laid over a map one row at a time.
//
// A filter sweeps each row (y, z) of the map along x. Box elements that fall
// outside the map along y or z do so for the whole row, so they are dropped
// once per row, keeping the kernel order; the elements left leave the map
// only near the row's ends, where x + dx leaves [0, nx). Between the ends
// lies the row's interior, where no element needs a test and neighbouring
// voxels do the same operations in the same order on neighbouring data: the
// filters run them as vector lanes, which gives each voxel the bits of the
// voxel-by-voxel sum.
#pragma once

#include <cstdint>
#include <vector>

#include "core/grid3.hpp"
#include "core/neighbourhood.hpp"
#include "core/planes.hpp"
#include "phasemap/lanes.hpp"
#include "phasemap/row_span.hpp"

namespace nrx::detail {

// The vectors a row's interior takes at a time, and the voxels they cover.
constexpr int box_vectors = 4;
constexpr std::int32_t box_lanes = box_vectors * vector_width;

// A kernel element as seen from a row: its value, its storage step from the
// voxel, and its reach along x.
struct RowElement {
    double value;
    std::int64_t step;
    std::int32_t dx;
};

class BoxRows {
public:
    BoxRows(const Grid3& grid, const double* kernel, const Grid3& kernel_grid)
        : BoxRows(grid, kernel, box_elements(kernel_grid))
    {
    }

    // The elements over row (y, z) that lie inside the map along y and z, in
    // kernel order: every element, or those put into `scratch`.
    const std::vector<RowElement>& elements(std::int32_t y, std::int32_t z, std::vector<RowElement>& scratch) const;

    // Calls row(y, z, elements, reach) for every row (y, z) of the map, with
    // the row's elements (as elements() gives them) and the x whose box
    // reaches a voxel of known phase (weight != 0) in wmap: the voxels
    // outside that span see only weights of 0 (the span may reach a little
    // further than needed, never less far). Without wmap the span is the
    // whole row. Slabs of planes go to every core, so row runs concurrently
    // for rows of different slabs; between slabs keep_going is asked, on the
    // calling thread, whether to go on. Returns false when it said no.
    template <typename Row>
    bool for_each_row(const double* wmap, KeepGoing keep_going, Row&& row) const
    {
        return for_each_plane(
            (grid_.nz + slab_planes - 1) / slab_planes,
            [&](std::int64_t slab) {
                const std::int32_t z_begin = static_cast<std::int32_t>(slab) * slab_planes;
                const std::int32_t z_end = grid_.nz - z_begin > slab_planes ? z_begin + slab_planes : grid_.nz;
                std::vector<Span> known, reach(static_cast<std::size_t>(grid_.ny), Span{0, grid_.nx - 1});
                std::vector<RowElement> scratch;
                const std::int32_t known_first = wmap != nullptr ? known_rows(wmap, z_begin, z_end, known) : 0;
                for (std::int32_t z = z_begin; z < z_end; ++z) {
                    if (wmap != nullptr) {
                        reach_of_known(known, known_first, z, reach);
                    }
                    for (std::int32_t y = 0; y < grid_.ny; ++y) {
                        row(y, z, elements(y, z, scratch), reach[y]);
                    }
                }
            },
            [&](std::int64_t) { return should_go_on(keep_going); });
    }

    // Calls border(x) for each x of span outside the interior and
    // interior(begin, end) once for the interior part [begin, end), in
    // increasing x.
    template <typename Border, typename Interior>
    void walk(Span span, Border&& border, Interior&& interior) const
    {
        const std::int32_t end = span.last + 1;
        const std::int32_t inner_begin = span.first > interior_begin_ ? span.first : interior_begin_;
        const std::int32_t inner_end = end < interior_end_ ? end : interior_end_;
        std::int32_t x = span.first;
        for (; x < end && x < inner_begin; ++x) {
            border(x);
        }
        if (inner_begin < inner_end) {
            interior(inner_begin, inner_end);
            x = inner_end;
        }
        for (; x < end; ++x) {
            border(x);
        }
    }

private:
    BoxRows(const Grid3& grid, const double* kernel, const std::vector<BoxElement>& box);

    static constexpr std::int32_t slab_planes = 4;

    // The span of known voxels of every row of the planes the boxes of
    // planes [z_begin, z_end) reach, at (plane - first) * ny + y into known;
    // returns the first plane.
    std::int32_t known_rows(const double* wmap, std::int32_t z_begin, std::int32_t z_end,
                            std::vector<Span>& known) const;

    // For every row y of plane z, the x whose box reaches a span of known
    // voxels (known_rows' spans, from plane `first` on).
    void reach_of_known(const std::vector<Span>& known, std::int32_t first, std::int32_t z,
                        std::vector<Span>& reach) const;

    Grid3 grid_;
    std::vector<RowElement> all_;   // every element, in kernel order
    Neighbourhood around_;          // their offsets, in the same order
    std::int32_t interior_begin_ = 0;  // the interior of every row: [begin, end)
    std::int32_t interior_end_ = 0;
};

}  // namespace nrx::detail
