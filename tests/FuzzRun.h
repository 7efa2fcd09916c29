// How much a fuzzer feeds its reader: VELTRANO_FUZZ_INPUTS and
// VELTRANO_FUZZ_SEED make a long or different run without an edit.
#pragma once

#include <QString>
#include <cstdint>

namespace fuzzrun {

inline int inputs(int usual) {
    bool ok = false;
    const int count = qEnvironmentVariableIntValue("VELTRANO_FUZZ_INPUTS", &ok);
    return ok && count > 0 ? count : usual;
}

inline std::uint32_t seed(std::uint32_t usual) {
    bool ok = false;
    const std::uint32_t given = qEnvironmentVariable("VELTRANO_FUZZ_SEED").toUInt(&ok);
    return ok ? given : usual;
}

} // namespace fuzzrun
