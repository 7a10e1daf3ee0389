#pragma once

#include <cstdint>

// How a Controllable reaches the controls linked to it (scroll bars, check boxes, text fields):
// it asks them to reveal a range, or tells them that it changed so that they fetch what they
// show again. The argument blocks are the implementing classes' business.
class TextClient {
public:
    virtual ~TextClient() = default;

    // `range` points to three 32-bit values.
    virtual void RevealRange(const int32_t* range) = 0;
    virtual void TargetChanged(void* message) = 0;
};
