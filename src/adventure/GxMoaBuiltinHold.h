#pragma once

#include <cstdint>

class GxMoaBuiltinCall;
class GxUserData;

// The two arguments every wait builtin shares. The mask is the hold's input mask: 15 (click 2, skip 8
// and the never-offered 1 and 4) without a mask argument, else the given mask with bit 0 forced on, so a
// hold is never 0. The hide flag, when present and not 0, hides the message window for the wait.
class GxMoaBuiltinHold
{
public:
    static constexpr int32_t kDefaultMask = 15;

    static int32_t Mask(const GxMoaBuiltinCall& call, int32_t maskArg);
    static void ApplyHide(const GxMoaBuiltinCall& call, int32_t hideArg, GxUserData& data);
};
