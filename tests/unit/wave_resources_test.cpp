// Checks the files that vantorel.rc builds into the program: the two
// built-in sounds, byte for byte against their container format, and the
// program icon's structure. PlaySound takes the sounds straight from the
// resources, so a wrong header here means a silent or garbled sound.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#ifndef VANTOREL_RES_DIR
#error "VANTOREL_RES_DIR must name the res/ folder"
#endif

namespace vantorel {
namespace {

std::string readResourceFile(const std::string& name) {
    std::ostringstream bytes;
    bytes << std::ifstream(std::string(VANTOREL_RES_DIR) + "/" + name, std::ios::binary).rdbuf();
    return bytes.str();
}

// `value` as `bytes` little-endian bytes.
std::string le(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

unsigned byteAt(const std::string& b, std::size_t at) { return static_cast<unsigned char>(b[at]); }

TEST(TickWave, PcmHeaderThenAClickAndUnsignedSilence) {
    const std::string wave = readResourceFile("tick.wav");
    ASSERT_EQ(wave.size(), 512u) << "res/tick.wav missing or of the wrong size";
    // RIFF size; fmt: PCM, mono, 8000 samples/s, 8000 bytes/s, align 1, 8 bits; data size.
    EXPECT_EQ(wave.substr(0, 44), "RIFF" + le(504, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) +
                                      le(1, 2) + le(8000, 4) + le(8000, 4) + le(1, 2) + le(8, 2) +
                                      "data" + le(468, 4));
    // 8-bit samples are unsigned: 0x80 is silence. The click sits in the
    // first millisecond (8 samples) and the sound ends at rest.
    EXPECT_NE(wave.substr(44, 8), std::string(8, '\x80'));
    EXPECT_EQ(wave.substr(44 + 234), std::string(234, '\x80'));
}

TEST(AlarmWave, MpegLayer3HeaderAnd38FramesOf16KbitMono8Khz) {
    const std::string wave = readResourceFile("alarm.wav");
    ASSERT_EQ(wave.size(), 5542u) << "res/alarm.wav missing or of the wrong size";
    // fmt: MPEG Layer-3, mono, 8000 samples/s, 2000 bytes/s, align 1, 0 bits,
    // extension of 12: MPEGLAYER3_ID_MPEG, FLAG_PADDING_OFF, block 144 bytes,
    // 1 frame per block, codec delay 1393; fact: 38 * 576 samples; data: 38 frames.
    EXPECT_EQ(wave.substr(0, 70), "RIFF" + le(5534, 4) + "WAVEfmt " + le(30, 4) + le(0x55, 2) +
                                      le(1, 2) + le(8000, 4) + le(2000, 4) + le(1, 2) + le(0, 2) +
                                      le(12, 2) + le(1, 2) + le(2, 4) + le(144, 2) + le(1, 2) +
                                      le(1393, 2) + "fact" + le(4, 4) + le(21888, 4) + "data" +
                                      le(38 * 144, 4));
    // 8 kHz exists only in MPEG version 2.5 (version bits 00); there
    // 16 kbit/s is bit-rate index 2 and 8000 Hz sample-rate index 2, and a
    // frame is 72 * 16000 / 8000 = 144 bytes, one more with padding.
    for (std::size_t frame = 0; frame < 38; ++frame) {
        SCOPED_TRACE("MP3 frame " + std::to_string(frame));
        const std::size_t at = 70 + frame * 144;
        // 11 sync bits, version 00, layer 01, no CRC 1; bit rate 0010,
        // sample rate 10, no padding 0; channel mode 11 (single channel).
        ASSERT_EQ(wave.substr(at, 2), "\xFF\xE3") << "sync, MPEG 2.5, Layer III, no CRC";
        EXPECT_EQ(byteAt(wave, at + 2) & 0xFE, 0x28u) << "16 kbit/s, 8000 Hz, no padding";
        EXPECT_EQ(byteAt(wave, at + 3) >> 6, 3u) << "single channel";
    }
    // A Xing/Info frame would play as a silent frame and throw the fact
    // chunk's sample count off; side information is 9 bytes in a mono frame.
    const std::string tag = wave.substr(70 + 4 + 9, 4);
    EXPECT_TRUE(tag != "Xing" && tag != "Info") << tag;
}

TEST(ProgramIcon, OneImage32x32In16ColoursWithClearCorners) {
    const std::string icon = readResourceFile("vantorel.ico");
    // BITMAPINFOHEADER (40) + palette (16 * 4) + colour rows (32 * 16) + mask rows (32 * 4).
    const std::uint32_t imageBytes = 40 + 16 * 4 + 32 * 16 + 32 * 4;
    ASSERT_EQ(icon.size(), 22 + imageBytes) << "res/vantorel.ico missing or of the wrong size";
    // ICONDIR: reserved, type icon, 1 image. ICONDIRENTRY: 32 x 32, 16
    // colours, reserved, 1 plane, 4 bits, image size, image offset 22.
    // BITMAPINFOHEADER: size 40, 32 wide, 64 high (colour and mask rows),
    // 1 plane, 4 bits, BI_RGB.
    EXPECT_EQ(icon.substr(0, 42), le(0, 2) + le(1, 2) + le(1, 2) + "\x20\x20\x10" + '\0' +
                                      le(1, 2) + le(4, 2) + le(imageBytes, 4) + le(22, 4) +
                                      le(40, 4) + le(32, 4) + le(64, 4) + le(1, 2) + le(4, 2) +
                                      le(0, 4));
    const std::string colorsUsed = icon.substr(54, 4);
    EXPECT_TRUE(colorsUsed == le(0, 4) || colorsUsed == le(16, 4));
    // Mask rows are stored bottom row first, 4 bytes each, bit 7 of the
    // first byte being the leftmost pixel; a set bit is transparent.
    const auto clear = [&](unsigned x, unsigned y) {
        return ((byteAt(icon, 22 + 40 + 64 + 512 + (31 - y) * 4 + x / 8) >> (7 - x % 8)) & 1) != 0;
    };
    EXPECT_TRUE(clear(0, 0));
    EXPECT_TRUE(clear(31, 31));
    EXPECT_FALSE(clear(16, 16));
}

}  // namespace
}  // namespace vantorel
