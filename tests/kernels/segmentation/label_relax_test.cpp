#include "segmentation/label_relax.hpp"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using nrx::Interaction;

// A volume of K classes with its likelihoods and interaction data.
struct Case {
    std::int32_t dm[4];
    std::vector<std::uint8_t> P;
    std::vector<float> F;
    std::vector<float> G;        // every single-precision form
    std::vector<std::uint8_t> Gu8;  // the byte form
    float w[3];

    std::int32_t m() const { return dm[0] * dm[1] * dm[2]; }
    const void* g(Interaction code) const
    {
        return code == Interaction::voxel_packed_u8 ? static_cast<const void*>(Gu8.data()) : G.data();
    }
};

Case random_case(std::int32_t d0, std::int32_t d1, std::int32_t d2, std::int32_t K, Interaction code,
                 unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_real_distribution<float> likelihood(0.0f, 2.0f), coupling(-3.0f, 3.0f), weight(0.25f, 2.0f);
    Case c{{d0, d1, d2, K}, {}, {}, {}, {}, {weight(gen), weight(gen), weight(gen)}};
    const std::int32_t m = d0 * d1 * d2;
    c.P.resize(m * K);
    for (auto& v : c.P) v = static_cast<std::uint8_t>(byte(gen));
    c.F.resize(m * K);
    for (auto& v : c.F) v = likelihood(gen);
    const std::int32_t pairs = K * (K - 1) / 2;
    const std::int32_t g_count = code == Interaction::matrix         ? K * K
                                 : code == Interaction::vector       ? K
                                 : code == Interaction::voxel_matrix ? m * K * K
                                                                     : m * pairs;
    c.G.resize(g_count);
    for (auto& v : c.G) v = coupling(gen);
    c.Gu8.resize(g_count);
    for (auto& v : c.Gu8) v = static_cast<std::uint8_t>(byte(gen));
    return c;
}

// One sweep in place; dm = (d0, d1, d2, K).
void relax_in_place(const std::int32_t dm[4], std::uint8_t* P, const float* F, const void* G, const float w[3],
                    Interaction code)
{
    nrx::relax_labels({dm[0], dm[1], dm[2]}, dm[3], P, P, F, G, w, code);
}

// The coupling G(d, c) of voxel idx in any form; the packed forms as the full
// symmetric matrix with zero diagonal they stand for.
float coupling(const Case& s, Interaction code, std::int32_t idx, std::int32_t d, std::int32_t c)
{
    const std::int32_t K = s.dm[3], m = s.m();
    switch (code) {
    case Interaction::matrix: return s.G[d + K * c];
    case Interaction::vector: return d == c ? s.G[c] : 0.0f;
    case Interaction::voxel_matrix: return s.G[idx + m * (d + K * c)];
    default: break;
    }
    if (d == c) return 0.0f;
    const std::int32_t a = std::min(d, c), b = std::max(d, c);
    // Pairs before a: (K-1) + (K-2) + ... + (K-a); then b - a - 1 within a.
    const std::int32_t t = a * K - a * (a + 1) / 2 + (b - a - 1);
    return code == Interaction::voxel_packed ? s.G[idx + m * t] : static_cast<float>(s.Gu8[idx + m * t]);
}

// The sweep written voxel by voxel: every voxel of a colour in storage order,
// neighbours found by coordinates, each energy summed over d ascending. The
// packed forms add q[d]*g for every d != c in ascending d, which is the order
// in which the pair loop reaches class c.
void reference_sweep(Case& s, Interaction code)
{
    const std::int32_t d0 = s.dm[0], d1 = s.dm[1], d2 = s.dm[2], K = s.dm[3], m = s.m();
    for (int pass = 0; pass < 2; ++pass) {
        for (std::int32_t k = 0; k < d2; ++k)
            for (std::int32_t j = 0; j < d1; ++j)
                for (std::int32_t i = 0; i < d0; ++i) {
                    if ((i + j + k) % 2 != pass) continue;
                    const std::int32_t idx = i + d0 * (j + d1 * k);
                    struct Step { int di, dj, dk; float w; };
                    const Step steps[6] = {{0, 0, -1, s.w[2]}, {0, 0, 1, s.w[2]}, {0, -1, 0, s.w[1]},
                                           {0, 1, 0, s.w[1]},  {-1, 0, 0, s.w[0]}, {1, 0, 0, s.w[0]}};
                    std::vector<float> q(K, 0.0f), p(K);
                    for (const Step& st : steps) {
                        const int ni = i + st.di, nj = j + st.dj, nk = k + st.dk;
                        if (ni < 0 || ni >= d0 || nj < 0 || nj >= d1 || nk < 0 || nk >= d2) continue;
                        for (std::int32_t c = 0; c < K; ++c)
                            q[c] = q[c] + st.w * float(s.P[ni + d0 * (nj + d1 * nk) + m * c]);
                    }
                    for (auto& v : q) v = float(double(v) / 1530.0);
                    float sum = 0.0f;
                    for (std::int32_t c = 0; c < K; ++c) {
                        float e = 0.0f;
                        if (code == Interaction::vector) {
                            e = q[c] * coupling(s, code, idx, c, c);
                        } else {
                            for (std::int32_t d = 0; d < K; ++d) {
                                if (d == c && (code == Interaction::voxel_packed || code == Interaction::voxel_packed_u8)) continue;
                                e = e + q[d] * coupling(s, code, idx, d, c);
                            }
                        }
                        const double arg = code == Interaction::voxel_packed_u8 ? -0.0625 * double(e) : double(e);
                        p[c] = float(std::exp(arg) * double(s.F[idx + m * c]));
                        sum = sum + p[c];
                    }
                    const float f = 255.0f / sum;
                    for (std::int32_t c = 0; c < K; ++c) {
                        const double v = double(f * p[c]) + 0.5;
                        s.P[idx + m * c] = std::isnan(v) || v < 0 ? 0 : v >= 255 ? 255 : std::uint8_t(v);
                    }
                }
    }
}

std::string form_name(const ::testing::TestParamInfo<Interaction>& info)
{
    const char* names[] = {"", "matrix", "vector", "voxel_matrix", "voxel_packed", "voxel_packed_u8"};
    return names[static_cast<int>(info.param)];
}

class LabelRelaxForms : public ::testing::TestWithParam<Interaction> {};

TEST_P(LabelRelaxForms, MatchesVoxelByVoxelReferenceBitForBit)
{
    const Interaction code = GetParam();
    for (const auto& shape : std::vector<std::vector<std::int32_t>>{{5, 4, 3, 4}, {6, 1, 5, 3}, {1, 1, 1, 5}, {7, 6, 1, 2}}) {
        Case kernel = random_case(shape[0], shape[1], shape[2], shape[3], code, 11 + shape[0]);
        Case reference = kernel;
        relax_in_place(kernel.dm, kernel.P.data(), kernel.F.data(), kernel.g(code), kernel.w, code);
        reference_sweep(reference, code);
        EXPECT_EQ(kernel.P, reference.P) << "shape " << shape[0] << "x" << shape[1] << "x" << shape[2] << "x" << shape[3];
    }
}

TEST_P(LabelRelaxForms, RowsOfManyVoxelsGiveTheSameBitsAtAnyThreadCount)
{
    // Rows long enough for the vector loops, odd sizes whose planes do not
    // split evenly over the threads.
    const Interaction code = GetParam();
    for (const auto& shape : std::vector<std::vector<std::int32_t>>{{37, 9, 7, 3}, {20, 5, 3, 6}}) {
        Case reference = random_case(shape[0], shape[1], shape[2], shape[3], code, 7 + shape[0]);
        const Case start = reference;
        reference_sweep(reference, code);
        for (int threads : {1, 3}) {
            omp_set_num_threads(threads);
            Case kernel = start;
            relax_in_place(kernel.dm, kernel.P.data(), kernel.F.data(), kernel.g(code), kernel.w, code);
            EXPECT_EQ(kernel.P, reference.P) << "shape " << shape[0] << "x" << shape[1] << "x" << shape[2]
                                             << "x" << shape[3] << " threads " << threads;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllForms, LabelRelaxForms,
                         ::testing::Values(Interaction::matrix, Interaction::vector, Interaction::voxel_matrix,
                                           Interaction::voxel_packed, Interaction::voxel_packed_u8),
                         form_name);

TEST(LabelRelax, LoneVoxelNormalisesItsLikelihoodsTo255)
{
    // No neighbours: q = 0, e = 0, p = F, f = 255/4.
    const std::int32_t dm[4] = {1, 1, 1, 2};
    std::vector<std::uint8_t> P = {7, 9};
    const float F[2] = {1.0f, 3.0f}, G[2] = {5.0f, -5.0f}, w[3] = {1, 1, 1};
    relax_in_place(dm, P.data(), F, G, w, Interaction::vector);
    EXPECT_EQ(P, (std::vector<std::uint8_t>{64, 191}));  // 63.75 + 0.5 and 191.25 + 0.5
}

TEST(LabelRelax, OddPassReadsWhatTheEvenPassWrote)
{
    // Two voxels along i. Voxel 0 (even) sees voxel 1 = (255, 0): q = (1/6, 0),
    // e = (ln 2, 0), p = (2, 1), bytes (170, 85). Voxel 1 (odd) then sees
    // (170, 85): q = (1/9, 1/18), e = ((2/3) ln 2, 0), p = (2^(2/3), 1), bytes
    // 255 * 1.5874 / 2.5874 = 156.4 and 98.6, i.e. 156 and 99. Had it read the
    // original (0, 255) it would keep (128, 128).
    const std::int32_t dm[4] = {2, 1, 1, 2};
    std::vector<std::uint8_t> P = {0, 255, 255, 0};  // class 0 of both voxels, then class 1
    const float F[4] = {1, 1, 1, 1}, w[3] = {1, 1, 1};
    const float G[2] = {static_cast<float>(6.0 * std::log(2.0)), 0.0f};
    relax_in_place(dm, P.data(), F, G, w, Interaction::vector);
    EXPECT_EQ(P, (std::vector<std::uint8_t>{170, 156, 85, 99}));
}

TEST(LabelRelax, ExponentialsAreTakenInDouble)
{
    // A case where the float exponential would round voxel 0's class 1 to 197.
    const std::int32_t dm[4] = {2, 1, 1, 2};
    std::vector<std::uint8_t> P = {104, 174, 220, 227};
    const float F[4] = {5, 4, 7, 3}, G[2] = {-9, -1}, w[3] = {1, 1, 1};
    relax_in_place(dm, P.data(), F, G, w, Interaction::vector);
    EXPECT_EQ(P, (std::vector<std::uint8_t>{59, 132, 196, 123}));
}

TEST(LabelRelax, BorderVoxelIsDividedBy1530WhateverItsNeighbourCount)
{
    // One class: every non-zero likelihood gives 255, whatever q is.
    const std::int32_t dm[4] = {3, 2, 2, 1};
    std::vector<std::uint8_t> P(12, 40);
    std::vector<float> F(12, 0.5f);
    F[4] = 0.0f;
    const float G[1] = {2.0f}, w[3] = {1, 1, 1};
    relax_in_place(dm, P.data(), F.data(), G, w, Interaction::vector);
    for (std::int32_t v = 0; v < 12; ++v) EXPECT_EQ(P[v], v == 4 ? 0 : 255) << v;
}

TEST(LabelRelax, NonFiniteOrOutOfRangeProductsSaturate)
{
    // A lone voxel: the bytes are trunc(255 * F(c) / sum F + 0.5), saturated.
    const std::int32_t dm[4] = {1, 1, 1, 3};
    const float G[3] = {0, 0, 0}, w[3] = {1, 1, 1};
    auto run = [&](std::vector<float> F) {
        std::vector<std::uint8_t> P = {1, 2, 3};
        relax_in_place(dm, P.data(), F.data(), G, w, Interaction::vector);
        return P;
    };
    // Sum 1: a negative likelihood gives 0, one above the sum more than 255.
    EXPECT_EQ(run({-1.0f, 1.5f, 0.5f}), (std::vector<std::uint8_t>{0, 255, 128}));
    // Sum 0: the scale is infinite; zero products give NaN, hence 0, and
    // cancelling ones +-infinity, hence 255 and 0.
    EXPECT_EQ(run({0.0f, 0.0f, 0.0f}), (std::vector<std::uint8_t>{0, 0, 0}));
    EXPECT_EQ(run({1.0f, -1.0f, 0.0f}), (std::vector<std::uint8_t>{255, 0, 0}));
    // NaN or infinite likelihoods: NaN everywhere, every byte 0.
    EXPECT_EQ(run({NAN, 1.0f, 1.0f}), (std::vector<std::uint8_t>{0, 0, 0}));
    EXPECT_EQ(run({INFINITY, 1.0f, 1.0f}), (std::vector<std::uint8_t>{0, 0, 0}));
    // A tiny sum: the scale overflows to infinity, so a non-zero product
    // saturates to 255 and a zero one (infinity times 0, NaN) gives 0.
    EXPECT_EQ(run({1e-40f, 0.0f, 0.0f}), (std::vector<std::uint8_t>{255, 0, 0}));
}

TEST(LabelRelax, IntoASeparateBufferLeavesTheSourceAsItWas)
{
    Case s = random_case(5, 4, 3, 3, Interaction::matrix, 3);
    const std::vector<std::uint8_t> source = s.P;
    std::vector<std::uint8_t> into(s.P.size(), 77);
    nrx::relax_labels({5, 4, 3}, 3, source.data(), into.data(), s.F.data(), s.G.data(), s.w, Interaction::matrix);
    relax_in_place(s.dm, s.P.data(), s.F.data(), s.G.data(), s.w, Interaction::matrix);
    EXPECT_EQ(into, s.P);
    EXPECT_NE(source, s.P);
}

TEST(LabelRelax, InPlaceASweepEitherRunsToItsEndOrWritesNothing)
{
    Case s = random_case(9, 6, 11, 3, Interaction::matrix, 4);
    const std::vector<std::uint8_t> start = s.P;
    Case reference = s;
    reference_sweep(reference, Interaction::matrix);
    static int asked;
    const nrx::KeepGoing first_no = [] { return ++asked > 1; }, later_no = [] { return ++asked < 2; };
    auto sweep = [&](std::uint8_t* after, nrx::KeepGoing keep_going) {
        asked = 0;
        return nrx::relax_labels({9, 6, 11}, 3, s.P.data(), after, s.F.data(), s.G.data(), s.w,
                                 Interaction::matrix, keep_going);
    };
    EXPECT_FALSE(sweep(s.P.data(), first_no));
    EXPECT_EQ(s.P, start);
    EXPECT_TRUE(sweep(s.P.data(), later_no));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(s.P, reference.P);
    // Into a separate buffer the sweep may stop between planes.
    s.P = start;
    std::vector<std::uint8_t> into(s.P.size());
    EXPECT_FALSE(sweep(into.data(), later_no));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(s.P, start);
}

TEST(LabelRelax, EmptyVolumesAndNoClassesChangeNothing)
{
    const float w[3] = {1, 1, 1};
    const std::int32_t no_classes[4] = {2, 2, 1, 0};
    const std::int32_t no_voxels[4] = {0, 3, 2, 2};
    relax_in_place(no_classes, nullptr, nullptr, nullptr, w, Interaction::vector);
    relax_in_place(no_voxels, nullptr, nullptr, nullptr, w, Interaction::voxel_packed);
}

}  // namespace
