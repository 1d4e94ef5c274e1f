#include "segmentation/label_relax_forms.hpp"

#include <algorithm>

namespace nrx {

namespace {

constexpr const char* bad_shape = "Third arg has incompatible dimensions.";

InteractionReading single_only(Interaction form, bool shape_matches, ElementClass element)
{
    if (!shape_matches) return {form, bad_shape, false};
    if (element != ElementClass::single) return {form, "Third arg must be single.", true};
    return {form, nullptr, false};
}

}  // namespace

InteractionReading read_interaction_form(const std::vector<std::int32_t>& g, const std::array<std::int32_t, 4>& dm,
                                         ElementClass element)
{
    const std::int32_t K = dm[3];
    if (g[1] == 1) {
        return single_only(Interaction::vector, g[0] == K, element);
    }
    if (g.size() == 2) {
        return single_only(Interaction::matrix, g[0] == K && g[1] == K, element);
    }
    if (g.size() == 5) {
        return single_only(Interaction::voxel_matrix, std::equal(dm.begin(), dm.end(), g.begin()) && g[4] == K,
                           element);
    }
    if (g.size() == 4) {
        if (!(std::equal(dm.begin(), dm.begin() + 3, g.begin()) && g[3] == K * (K - 1) / 2)) {
            return {Interaction::voxel_packed, bad_shape, false};
        }
        if (element == ElementClass::single) return {Interaction::voxel_packed, nullptr, false};
        if (element == ElementClass::uint8) return {Interaction::voxel_packed_u8, nullptr, false};
        return {Interaction::voxel_packed, "Third arg must be either single or uint8.", true};
    }
    return {Interaction::vector, bad_shape, false};
}

}  // namespace nrx
