// Any bytes as the teacher's password file (Kelto4.tpw): reading must take them as a hash the
// library can check, or call them damaged, and never crash. A taken hash is one line that asks
// no more than the program allows.
#include "model/CTeacherPassword.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string hash;
    const CTeacherPassword::State state = CTeacherPassword::Decode(bytes, hash);
    if (state == CTeacherPassword::State::none)
        __builtin_trap();
    if (state == CTeacherPassword::State::damaged) {
        if (!hash.empty())
            __builtin_trap();
        return 0;
    }
    if (hash + "\n" != bytes || hash.find('\n') != std::string::npos || !CTeacherPassword::IsValidHash(hash))
        __builtin_trap();
    return 0;
}
