// The arithmetic of the random stream: a step is a multiplication by 48271 modulo 2^31 - 1,
// and k steps at once a multiplication by 48271^k (the row kernels fill the stream that way,
// many states at a time).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace cubega {

inline constexpr std::int32_t kStreamModulus = 2147483647;  // 2^31 - 1

// x * c mod (2^31 - 1) for 0 < x, c < 2^31 - 1, by folding the Mersenne modulus.
constexpr std::int32_t mulMod(std::int32_t x, std::int32_t c) {
    constexpr std::uint64_t m = kStreamModulus;
    const std::uint64_t product = static_cast<std::uint64_t>(x) * static_cast<std::uint64_t>(c);
    std::uint64_t t = (product & m) + (product >> 31);
    t = (t & m) + (t >> 31);
    return static_cast<std::int32_t>(t >= m ? t - m : t);
}

// 48271^k mod (2^31 - 1) for k = 0..32: the jumps of the batched stream.
inline constexpr std::array<std::int32_t, 33> kMultiplierPowers = [] {
    std::array<std::int32_t, 33> powers{};
    powers[0] = 1;
    for (std::size_t k = 1; k < powers.size(); ++k) {
        powers[k] = mulMod(powers[k - 1], 48271);
    }
    return powers;
}();

}  // namespace cubega
