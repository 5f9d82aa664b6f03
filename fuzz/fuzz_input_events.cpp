// The records of a keyboard's input device (a USB keyboard's firmware and the kernel's driver
// decide what arrives), read in pieces of any size as a read(2) may cut them.
#include "platform/EvdevEventDecoder.h"

#include <cstddef>
#include <cstdint>

namespace {

class Frames final : public EvdevEventDecoder::FrameReceiver
{
public:
    void frameEnded(const EvdevEventDecoder::Frame &frame) override
    {
        if (frame.when > readAt)
            __builtin_trap();
        if (frame.resyncNeeded)
            decoder->releaseAll();
    }
    EvdevEventDecoder *decoder = nullptr;
    EvdevEventDecoder::TimePoint readAt;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte sets the size of the pieces.
    const std::size_t piece = std::size_t(data[0]) + 1;
    ++data;
    --size;
    EvdevEventDecoder decoder;
    Frames frames;
    frames.decoder = &decoder;
    frames.readAt = EvdevEventDecoder::TimePoint(std::chrono::hours(24));
    while (size > 0) {
        const std::size_t taken = size < piece ? size : piece;
        decoder.feed(data, taken, frames.readAt, frames);
        data += taken;
        size -= taken;
    }
    // Keys without a virtual code never show; the map holds no more keys than the device.
    if (decoder.keyMap().bitCount() > int(decoder.held().count()))
        __builtin_trap();
    return 0;
}
