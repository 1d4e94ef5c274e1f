#include "segmentation/morphology.hpp"

#include <algorithm>
#include <vector>

#include "core/neighbourhood.hpp"
#include "segmentation/morphology_runs.hpp"

namespace nrx {

namespace {

// Rows per piece of work handed to a thread: enough to be worth handing out
// (and, for a box, to share the column extremes of neighbouring rows), few
// enough that a 2-D image still spreads over the threads and Ctrl-C is heard
// soon even under a large kernel.
constexpr std::int64_t rows_per_piece = 16;

// Runs folded into a row of n values, starting from the values `start`:
// the first run reads start, the later ones the row itself. (After a plain
// copy, every load of the first run would wait for the copy's stores.)
class RowFold {
public:
    RowFold(const double* start, double* row, std::int64_t n) : start_(start), row_(row), n_(n) {}
    ~RowFold()
    {
        if (from_ == start_) {
            std::copy_n(start_, n_, row_);
        }
    }

    // Calls run(value, a, n): a holds the values so far, value receives them.
    template <typename Run>
    void add(Run&& run)
    {
        run(row_, from_, n_);
        from_ = row_;
    }

private:
    const double* start_;
    double* row_;
    std::int64_t n_;
    const double* from_ = start_;
};

// The kernel elements that take part (non-zero weights), in kernel order.
struct Taps {
    std::vector<Offset3> offsets;
    std::vector<double> weights;
    bool box_of_ones = false;  // every element of the kernel, each of weight 1
};

Taps taps_of(const double* kernel, const Grid3& kernel_grid)
{
    Taps taps;
    const std::vector<BoxElement> elements = box_elements(kernel_grid);
    for (const BoxElement& e : elements) {
        if (kernel[e.element] != 0) {
            taps.offsets.push_back(e.offset);
            taps.weights.push_back(kernel[e.element]);
        }
    }
    taps.box_of_ones = !elements.empty() && taps.weights.size() == elements.size() &&
                       std::all_of(taps.weights.begin(), taps.weights.end(), [](double w) { return w == 1; });
    return taps;
}

// One pass over an image. Each voxel's result depends only on the input and
// its own running value, so rows are computed independently, and within a
// row the voxels whose every neighbour along x lies inside (all but a few at
// each end) are updated tap by tap across the row: each voxel still meets
// its taps in kernel order (which settles NaN and signed zeros), with no
// bounds tests. The few voxels at the ends take their own walk.
class Pass {
public:
    Pass(const double* image, const Grid3& grid, const double* kernel, const Grid3& kernel_grid, bool dilate,
         double* out)
        : image_(image), grid_(grid), out_(out), dilate_(dilate), taps_(taps_of(kernel, kernel_grid)),
          around_(grid, taps_.offsets), weighted_(dilate ? runs_.dilate : runs_.erode),
          box_(dilate ? runs_.dilate_box : runs_.erode_box)
    {
    }

    // Rows y0 .. y1-1 of plane z.
    void rows(std::int64_t z, std::int64_t y0, std::int64_t y1) const
    {
        if (taps_.box_of_ones) {
            box_rows(z, y0, y1);
        } else {
            for (std::int64_t y = y0; y < y1; ++y) {
                weighted_row(y, z);
            }
        }
    }

private:
    const double* image_;
    Grid3 grid_;
    double* out_;
    bool dilate_;
    Taps taps_;
    Neighbourhood around_;
    const detail::MorphologyRuns& runs_ = detail::morphology_runs();
    detail::WeightedRun weighted_;
    detail::BoxRun box_;
    // The reach of the taps along each axis; the voxels x_begin_ .. x_end_-1
    // of a row have every neighbour along x inside.
    const Offset3& low_ = around_.low();
    const Offset3& high_ = around_.high();
    const std::int64_t x_begin_ = -low_.dx, x_end_ = std::int64_t{grid_.nx} - high_.dx;

    const double* image_row(std::int64_t y, std::int64_t z) const { return image_ + grid_.index(0, y, z); }
    double* out_row(std::int64_t y, std::int64_t z) const { return out_ + grid_.index(0, y, z); }

    // Calls voxel(x) for each voxel of a row outside x_begin_ .. x_end_-1.
    template <typename Voxel>
    void for_each_end_voxel(Voxel&& voxel) const
    {
        const std::int64_t inner_end = std::max(x_begin_, x_end_);
        for (std::int64_t x = 0; x < std::min<std::int64_t>(x_begin_, grid_.nx); ++x) {
            voxel(x);
        }
        for (std::int64_t x = inner_end; x < grid_.nx; ++x) {
            voxel(x);
        }
    }

    void weighted_row(std::int64_t y, std::int64_t z) const
    {
        if (x_begin_ < x_end_) {
            RowFold fold(image_row(y, z) + x_begin_, out_row(y, z) + x_begin_, x_end_ - x_begin_);
            for (std::size_t k = 0; k < around_.size(); ++k) {
                const Offset3& o = around_.offset(k);
                if (grid_.contains(x_begin_ + o.dx, y + o.dy, z + o.dz)) {
                    const double* b = image_row(y + o.dy, z + o.dz) + x_begin_ + o.dx;
                    fold.add([&](double* value, const double* a, std::int64_t n) {
                        weighted_(value, a, b, taps_.weights[k], n);
                    });
                }
            }
        }
        for_each_end_voxel([&](std::int64_t x) { weighted_voxel(x, y, z); });
    }

    // The voxel's own rule, neighbour by neighbour.
    void weighted_voxel(std::int64_t x, std::int64_t y, std::int64_t z) const
    {
        const std::int64_t c = grid_.index(x, y, z);
        double value = image_[c];
        around_.for_each(x, y, z, c, [&](std::size_t k, std::int64_t n) {
            value = detail::weighted_step(dilate_, value, taps_.weights[k] * image_[n]);
        });
        out_[c] = value;
    }

    // A box of ones is the maximum (minimum) over the box, taken along the
    // third axis, then the second, then the first, starting from the voxel
    // itself: with the later (earlier) of equal values kept at each step,
    // that is the element the voxel's own rule ends on, sign of zero
    // included. The rule is not an ordinary maximum once NaN takes part, so
    // the steps let NaN through and a voxel that comes out NaN is done by its
    // rule.
    void box_rows(std::int64_t z, std::int64_t y0, std::int64_t y1) const
    {
        const std::int64_t nx = grid_.nx;
        const std::int64_t first = std::max<std::int64_t>(0, y0 + low_.dy);
        const std::int64_t last = std::min<std::int64_t>(grid_.ny - 1, y1 - 1 + high_.dy);
        const std::int64_t z_first = std::max<std::int64_t>(0, z + low_.dz);
        const std::int64_t z_last = std::min<std::int64_t>(grid_.nz - 1, z + high_.dz);
        // The extremes along the third axis of rows first .. last, then one
        // row of them taken along the second axis.
        std::vector<double> columns((last - first + 2) * nx);
        double* across = columns.data() + (last - first + 1) * nx;
        auto column = [&](std::int64_t y) { return columns.data() + (y - first) * nx; };
        for (std::int64_t y = first; y <= last; ++y) {
            RowFold fold(image_row(y, z_first), column(y), nx);
            for (std::int64_t zz = z_first + 1; zz <= z_last; ++zz) {
                fold.add([&](double* v, const double* a, std::int64_t n) { box_(v, a, image_row(y, zz), n); });
            }
        }
        for (std::int64_t y = y0; y < y1; ++y) {
            const std::int64_t from = std::max(first, y + low_.dy), to = std::min(last, y + high_.dy);
            {
                RowFold fold(column(from), across, nx);
                for (std::int64_t yy = from + 1; yy <= to; ++yy) {
                    fold.add([&](double* v, const double* a, std::int64_t n) { box_(v, a, column(yy), n); });
                }
            }
            double* value = out_row(y, z);
            if (x_begin_ < x_end_) {
                RowFold fold(image_row(y, z) + x_begin_, value + x_begin_, x_end_ - x_begin_);
                for (std::int32_t dx = low_.dx; dx <= high_.dx; ++dx) {
                    const double* b = across + x_begin_ + dx;
                    fold.add([&](double* v, const double* a, std::int64_t n) { box_(v, a, b, n); });
                }
            }
            for_each_end_voxel([&](std::int64_t x) {
                value[x] = image_row(y, z)[x];
                const std::int64_t last_dx = std::min<std::int64_t>(high_.dx, nx - 1 - x);
                for (std::int64_t dx = std::max<std::int64_t>(low_.dx, -x); dx <= last_dx; ++dx) {
                    box_(value + x, value + x, across + x + dx, 1);
                }
            });
            for (std::int64_t x = 0; x < nx; ++x) {
                if (value[x] != value[x]) {
                    weighted_voxel(x, y, z);
                }
            }
        }
    }
};

}  // namespace

bool dilate_or_erode(const double* image, const Grid3& image_grid, const double* kernel, const Grid3& kernel_grid,
                     bool dilate, double* out, KeepGoing keep_going)
{
    const Pass pass(image, image_grid, kernel, kernel_grid, dilate, out);
    const std::int64_t per_plane =
        image_grid.count() == 0 ? 0 : (image_grid.ny + rows_per_piece - 1) / rows_per_piece;
    return for_each_plane(
        per_plane * image_grid.nz,
        [&](std::int64_t piece) {
            const std::int64_t z = piece / per_plane, y0 = piece % per_plane * rows_per_piece;
            pass.rows(z, y0, std::min<std::int64_t>(image_grid.ny, y0 + rows_per_piece));
        },
        [&](std::int64_t) { return should_go_on(keep_going); });
}

}  // namespace nrx
