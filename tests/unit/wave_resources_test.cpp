// Checks the files that vantorel.rc builds into the program: the two
// built-in sounds, byte for byte against their container format, and the
// program icon's structure. PlaySound takes the sounds straight from the
// resources, so a wrong header here means a silent or garbled sound.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef VANTOREL_RES_DIR
#error "VANTOREL_RES_DIR must name the res/ folder"
#endif

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readResourceFile(const std::string& name) {
    std::ifstream in(std::string(VANTOREL_RES_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint16_t le16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
    const std::uint32_t low = le16(b, at), high = le16(b, at + 2);
    return low | high << 16;
}

std::string fourCc(const Bytes& b, std::size_t at) {
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                       b.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

// ---------------------------------------------------------------------------
// Tick, resource 8002: 8-bit PCM.

class TickWaveTest : public ::testing::Test {
protected:
    static constexpr std::size_t kFileSize = 512;
    static constexpr std::size_t kDataStart = 44;
    static constexpr std::size_t kDataSize = 468;

    void SetUp() override {
        wave = readResourceFile("tick.wav");
        ASSERT_EQ(wave.size(), kFileSize) << "res/tick.wav missing or of the wrong size";
    }

    Bytes wave;
};

TEST_F(TickWaveTest, RiffHeaderAndPcmFormat) {
    EXPECT_EQ(fourCc(wave, 0), "RIFF");
    EXPECT_EQ(le32(wave, 4), 504u);
    EXPECT_EQ(fourCc(wave, 8), "WAVE");

    EXPECT_EQ(fourCc(wave, 12), "fmt ");
    EXPECT_EQ(le32(wave, 16), 16u);
    EXPECT_EQ(le16(wave, 20), 1u) << "format tag: PCM";
    EXPECT_EQ(le16(wave, 22), 1u) << "channels";
    EXPECT_EQ(le32(wave, 24), 8000u) << "samples per second";
    EXPECT_EQ(le32(wave, 28), 8000u) << "average bytes per second";
    EXPECT_EQ(le16(wave, 32), 1u) << "block align";
    EXPECT_EQ(le16(wave, 34), 8u) << "bits per sample";

    EXPECT_EQ(fourCc(wave, 36), "data");
    EXPECT_EQ(le32(wave, 40), kDataSize);
    EXPECT_EQ(kDataStart + kDataSize, wave.size()) << "nothing may follow the data chunk";
}

TEST_F(TickWaveTest, ClickThenUnsignedSilence) {
    // 8-bit WAVE samples are unsigned: 0x80 is silence. The click sits at
    // the start and the sound ends at rest, so it stops without a pop.
    const std::size_t firstMs = 8;  // 8 samples per millisecond
    bool clickHeard = false;
    for (std::size_t i = 0; i < firstMs; ++i) clickHeard |= wave[kDataStart + i] != 0x80;
    EXPECT_TRUE(clickHeard) << "the first millisecond of the tick is silent";
    for (std::size_t i = kDataSize / 2; i < kDataSize; ++i)
        ASSERT_EQ(wave[kDataStart + i], 0x80) << "sample " << i << " of the tick's tail";
}

// ---------------------------------------------------------------------------
// Alarm, resource 8001: MPEG Layer-3 frames in a WAVE container.

class AlarmWaveTest : public ::testing::Test {
protected:
    static constexpr std::size_t kFileSize = 5542;
    static constexpr std::size_t kDataStart = 70;
    static constexpr std::size_t kFrameCount = 38;
    static constexpr std::size_t kFrameBytes = 144;
    static constexpr std::uint32_t kSamplesPerFrame = 576;  // MPEG-2 and 2.5 Layer III

    void SetUp() override {
        wave = readResourceFile("alarm.wav");
        ASSERT_EQ(wave.size(), kFileSize) << "res/alarm.wav missing or of the wrong size";
    }

    Bytes wave;
};

TEST_F(AlarmWaveTest, RiffHeaderAndMpegLayer3Format) {
    EXPECT_EQ(fourCc(wave, 0), "RIFF");
    EXPECT_EQ(le32(wave, 4), 5534u);
    EXPECT_EQ(fourCc(wave, 8), "WAVE");

    EXPECT_EQ(fourCc(wave, 12), "fmt ");
    EXPECT_EQ(le32(wave, 16), 30u);
    EXPECT_EQ(le16(wave, 20), 0x0055u) << "format tag: MPEG Layer-3";
    EXPECT_EQ(le16(wave, 22), 1u) << "channels";
    EXPECT_EQ(le32(wave, 24), 8000u) << "samples per second";
    EXPECT_EQ(le32(wave, 28), 2000u) << "average bytes per second";
    EXPECT_EQ(le16(wave, 32), 1u) << "block align";
    EXPECT_EQ(le16(wave, 34), 0u) << "bits per sample";
    EXPECT_EQ(le16(wave, 36), 12u) << "size of the format extension";
    EXPECT_EQ(le16(wave, 38), 1u) << "MPEG Layer-3 id: MPEGLAYER3_ID_MPEG";
    EXPECT_EQ(le32(wave, 40), 2u) << "flags: MPEGLAYER3_FLAG_PADDING_OFF";
    EXPECT_EQ(le16(wave, 44), kFrameBytes) << "block size";
    EXPECT_EQ(le16(wave, 46), 1u) << "frames per block";
    EXPECT_EQ(le16(wave, 48), 1393u) << "codec delay";

    EXPECT_EQ(fourCc(wave, 50), "fact");
    EXPECT_EQ(le32(wave, 54), 4u);
    EXPECT_EQ(le32(wave, 58), 21888u) << "samples";

    EXPECT_EQ(fourCc(wave, 62), "data");
    EXPECT_EQ(le32(wave, 66), kFrameCount * kFrameBytes);
    EXPECT_EQ(kDataStart + kFrameCount * kFrameBytes, wave.size())
        << "nothing may follow the data chunk";
}

TEST_F(AlarmWaveTest, HeaderFiguresAgreeWithEachOther) {
    // The fact chunk counts the samples of the frames actually stored, and
    // the average rate is one 144-byte frame per 576 samples at 8 kHz.
    EXPECT_EQ(le32(wave, 58), kFrameCount * kSamplesPerFrame);
    EXPECT_EQ(le32(wave, 28) * kSamplesPerFrame, kFrameBytes * le32(wave, 24));
    EXPECT_EQ(le32(wave, 66) % le16(wave, 44), 0u) << "data is whole blocks";
}

TEST_F(AlarmWaveTest, EveryFrameIs16KbitMono8KhzWithoutPadding) {
    // 8 kHz exists only in MPEG version 2.5, the low-rate extension of
    // MPEG-2 (version bits 00); there 16 kbit/s is bit-rate index 2 and
    // 8000 Hz sample-rate index 2, and a frame is 72 * 16000 / 8000 = 144
    // bytes, one more when the padding bit is set.
    for (std::size_t frame = 0; frame < kFrameCount; ++frame) {
        SCOPED_TRACE("MP3 frame " + std::to_string(frame));
        const std::size_t at = kDataStart + frame * kFrameBytes;
        const unsigned b1 = wave[at + 1], b2 = wave[at + 2], b3 = wave[at + 3];
        ASSERT_EQ(wave[at], 0xFF) << "frame sync";
        ASSERT_EQ(b1 >> 5, 0x7u) << "frame sync";
        EXPECT_EQ((b1 >> 3) & 3, 0u) << "MPEG version 2.5";
        EXPECT_EQ((b1 >> 1) & 3, 1u) << "Layer III";
        EXPECT_EQ(b1 & 1, 1u) << "no CRC";
        EXPECT_EQ(b2 >> 4, 2u) << "bit rate 16 kbit/s";
        EXPECT_EQ((b2 >> 2) & 3, 2u) << "sample rate 8000 Hz";
        EXPECT_EQ((b2 >> 1) & 1, 0u) << "padding";
        EXPECT_EQ(b3 >> 6, 3u) << "single channel";
    }
}

TEST_F(AlarmWaveTest, NoInfoFrame) {
    // A Xing/Info frame would play as a silent frame and throw the fact
    // chunk's sample count off; side information is 9 bytes in a mono frame.
    const std::string first = fourCc(wave, kDataStart + 4 + 9);
    EXPECT_NE(first, "Xing");
    EXPECT_NE(first, "Info");
}

// ---------------------------------------------------------------------------
// Program icon, resource 1: one 32 x 32 image in 16 colours.

TEST(ProgramIconTest, OneImage32x32In16Colours) {
    const Bytes icon = readResourceFile("vantorel.ico");
    // ICONDIR (6) + one ICONDIRENTRY (16) + BITMAPINFOHEADER (40) + palette
    // (16 * 4) + colour rows (32 * 16) + mask rows (32 * 4).
    const std::uint32_t imageBytes = 40 + 16 * 4 + 32 * 16 + 32 * 4;
    ASSERT_EQ(icon.size(), 22 + imageBytes) << "res/vantorel.ico missing or of the wrong size";

    EXPECT_EQ(le16(icon, 0), 0u) << "reserved";
    EXPECT_EQ(le16(icon, 2), 1u) << "type: icon";
    EXPECT_EQ(le16(icon, 4), 1u) << "image count";

    EXPECT_EQ(icon[6], 32) << "width";
    EXPECT_EQ(icon[7], 32) << "height";
    EXPECT_EQ(icon[8], 16) << "colour count";
    EXPECT_EQ(icon[9], 0) << "reserved";
    EXPECT_EQ(le16(icon, 10), 1u) << "planes";
    EXPECT_EQ(le16(icon, 12), 4u) << "bits per pixel";
    EXPECT_EQ(le32(icon, 14), imageBytes);
    EXPECT_EQ(le32(icon, 18), 22u) << "image offset";

    EXPECT_EQ(le32(icon, 22), 40u) << "BITMAPINFOHEADER size";
    EXPECT_EQ(le32(icon, 26), 32u) << "width";
    EXPECT_EQ(le32(icon, 30), 64u) << "height: colour rows and mask rows";
    EXPECT_EQ(le16(icon, 34), 1u) << "planes";
    EXPECT_EQ(le16(icon, 36), 4u) << "bits per pixel";
    EXPECT_EQ(le32(icon, 38), 0u) << "compression: BI_RGB";
    const std::uint32_t colorsUsed = le32(icon, 54);
    EXPECT_TRUE(colorsUsed == 0 || colorsUsed == 16) << colorsUsed;
}

TEST(ProgramIconTest, MaskLeavesCornersClearAndCentreOpaque) {
    const Bytes icon = readResourceFile("vantorel.ico");
    ASSERT_EQ(icon.size(), 766u);
    // Mask rows are stored bottom row first, 4 bytes each, bit 7 of the
    // first byte being the leftmost pixel; a set bit is transparent.
    const std::size_t mask = 22 + 40 + 64 + 512;
    auto clear = [&](int x, int y) {
        const std::size_t row = mask + static_cast<std::size_t>(31 - y) * 4;
        return ((icon[row + static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1) != 0;
    };
    EXPECT_TRUE(clear(0, 0));
    EXPECT_TRUE(clear(31, 31));
    EXPECT_FALSE(clear(16, 16));
}

}  // namespace
}  // namespace vantorel
