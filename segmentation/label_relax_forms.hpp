// Which of the five interaction forms of the class update an argument is,
// from its dimensions and element class alone, so that every host checks it
// the same way with the same messages.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "segmentation/label_relax.hpp"

namespace nrx {

enum class ElementClass { single, uint8, other };

struct InteractionReading {
    Interaction form;
    const char* refusal;  // null when the argument is one of the forms
    bool wrong_class;     // the refusal is about the element class, not the shape
};

// g: the argument's dimensions (at least two); dm: the class probabilities'
// (d0, d1, d2, K). Tests the shape first, then the class: a second
// dimension of 1 is the class vector (K values; dimensions after it are
// ignored), two dimensions the K x K matrix, five a matrix per voxel, four a
// packed matrix per voxel (single or uint8).
InteractionReading read_interaction_form(const std::vector<std::int32_t>& g, const std::array<std::int32_t, 4>& dm,
                                         ElementClass element);

}  // namespace nrx
