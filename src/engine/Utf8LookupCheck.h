#pragma once

#include <cstddef>
#include <cstring>

// UTF-8 checked a vector at a time with table lookups (the method of Keiser and Lemire,
// "Validating UTF-8 in less than one instruction per byte"), written once for any vector
// width. Vector supplies the instructions; each width is compiled in its own source file
// with its own instruction set.
template <typename Vector> class Utf8LookupCheck
{
public:
    static bool isValid(const char *bytes, std::size_t size)
    {
        constexpr std::size_t kWidth = Vector::kBytes;
        State state;
        std::size_t at = 0;
        // Pages are mostly ASCII: four blocks are tested at once before any is looked into.
        for (; at + 4 * kWidth <= size; at += 4 * kWidth) {
            const Type blocks[4] = { Vector::load(bytes + at), Vector::load(bytes + at + kWidth),
                Vector::load(bytes + at + 2 * kWidth), Vector::load(bytes + at + 3 * kWidth) };
            if (!Vector::anyHighBit((blocks[0] | blocks[1]) | (blocks[2] | blocks[3]))) {
                nextBlock(state, blocks[3]);
                continue;
            }
            for (const Type &block : blocks)
                nextBlock(state, block);
        }
        for (; at + kWidth <= size; at += kWidth)
            nextBlock(state, Vector::load(bytes + at));
        if (at < size) {
            // Padded with ASCII, which ends any character left open.
            char last[kWidth] = {};
            std::memcpy(last, bytes + at, size - at);
            nextBlock(state, Vector::load(last));
        }
        return Vector::allZero(state.error | state.previousIncomplete);
    }

private:
    using Type = typename Vector::Type;

    // Each lookup marks the errors a pair of bytes could be part of; a pair is wrong where a
    // bit survives all three lookups.
    static constexpr char kTooShort = 1 << 0; // a lead or ASCII byte, then a continuation is missing
    static constexpr char kTooLong = 1 << 1; // ASCII, then a continuation
    static constexpr char kOverlong3 = 1 << 2;
    static constexpr char kTooLarge = 1 << 3; // above U+10FFFF
    static constexpr char kSurrogate = 1 << 4;
    static constexpr char kOverlong2 = 1 << 5;
    static constexpr char kTooLarge1000 = 1 << 6;
    static constexpr char kOverlong4 = 1 << 6;
    static constexpr char kTwoContinuations = char(1 << 7); // wrong unless a lead byte stands before
    static constexpr char kCarry = kTooShort | kTooLong | kTwoContinuations;

    struct State
    {
        Type error = Vector::splat(0);
        Type previous = Vector::splat(0);
        Type previousIncomplete = Vector::splat(0);
    };

    static Type highNibbles(Type bytes) { return Vector::shiftRight4(bytes) & Vector::splat(0x0F); }

    static Type pairErrors(Type input, Type previous1)
    {
        const Type byte1High = Vector::lookup(Vector::table(kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
                                                  kTooLong, kTooLong, kTwoContinuations, kTwoContinuations,
                                                  kTwoContinuations, kTwoContinuations, kTooShort | kOverlong2, kTooShort,
                                                  kTooShort | kOverlong3 | kSurrogate,
                                                  kTooShort | kTooLarge | kTooLarge1000 | kOverlong4),
            highNibbles(previous1));
        constexpr char kLarge = kCarry | kTooLarge | kTooLarge1000;
        const Type byte1Low = Vector::lookup(Vector::table(kCarry | kOverlong3 | kOverlong2 | kOverlong4,
                                                 kCarry | kOverlong2, kCarry, kCarry, kCarry | kTooLarge, kLarge, kLarge,
                                                 kLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge | kSurrogate,
                                                 kLarge, kLarge),
            previous1 & Vector::splat(0x0F));
        constexpr char kAfterLead1000
            = kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge1000 | kOverlong4;
        constexpr char kAfterLead1001 = kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge;
        constexpr char kAfterLead101 = kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge;
        const Type byte2High = Vector::lookup(Vector::table(kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
                                                  kTooShort, kTooShort, kTooShort, kAfterLead1000, kAfterLead1001,
                                                  kAfterLead101, kAfterLead101, kTooShort, kTooShort, kTooShort,
                                                  kTooShort),
            highNibbles(input));
        return byte1High & byte1Low & byte2High;
    }

    // A continuation two or three bytes after a lead of three or four bytes is right, and
    // there it must be: the pair lookups alone take it for a stray one.
    static void checkBlock(State &state, Type input)
    {
        const Type previous1 = Vector::template before<1>(input, state.previous);
        const Type previous2 = Vector::template before<2>(input, state.previous);
        const Type previous3 = Vector::template before<3>(input, state.previous);
        const Type thirdByte = Vector::subtractSaturated(previous2, Vector::splat(char(0xE0 - 0x80)));
        const Type fourthByte = Vector::subtractSaturated(previous3, Vector::splat(char(0xF0 - 0x80)));
        const Type mustContinue = (thirdByte | fourthByte) & Vector::splat(char(0x80));
        state.error = state.error | (mustContinue ^ pairErrors(input, previous1));
        // A lead byte too close to the end for its continuations.
        state.previousIncomplete = Vector::subtractSaturated(input, Vector::lastLeads());
        state.previous = input;
    }

    static void nextBlock(State &state, Type input)
    {
        if (!Vector::anyHighBit(input)) {
            // Plain ASCII: only a character left open before it can be wrong.
            state.error = state.error | state.previousIncomplete;
            state.previousIncomplete = Vector::splat(0);
            state.previous = input;
            return;
        }
        checkBlock(state, input);
    }
};
