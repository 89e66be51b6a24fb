// What the virtual printer hands a person: the label files and the ktdecode tool's report.
#include <gtest/gtest.h>

#include <png.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "pbm_writer.h"
#include "png_writer.h"
#include "streams.h"

namespace {

using namespace kt_decode_test;
namespace fs = std::filesystem;

// Head 1 prints the whole first row of a 12 x 12 label, head 2 four dots over it and one dot below.
// clang-format off
const Bytes kTwoHeads = Stream("\x02\x18\x03",
                               "\x02" "F00" "001" "001" "030" "80" "\x03",
                               "\x02" "h1" "\x03",
                               "\x02" "M" "01" "0795" "0000" "0001" "0012" "0" "\x03",
                               "\x02" "I" "01" "\xFF\xF0" "\x03",
                               "\x02" "h2" "\x03",
                               "\x02" "M" "01" "0795" "0000" "0002" "0012" "0" "\x03",
                               "\x02" "I" "01" "\x0F\x00" "\x03"sv,
                               "\x02" "I" "01" "\x80\x00" "\x03"sv,
                               "\x02" "S" "0002" "\x03");
// clang-format on

struct Rgb8 {
    int r, g, b;
    bool operator==(const Rgb8&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Rgb8& c) {
    return o << "(" << c.r << "," << c.g << "," << c.b << ")";
}

// The PNG read back as RGB through libpng.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    Rgb8 At(int x, int y) const {
        const size_t i = 3 * (static_cast<size_t>(y) * width + x);
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

Picture ReadPng(const std::vector<uint8_t>& png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture p;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
        ADD_FAILURE() << "not a PNG: " << image.message;
        return p;
    }
    image.format = PNG_FORMAT_RGB;
    p.width = static_cast<int>(image.width);
    p.height = static_cast<int>(image.height);
    p.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, p.rgb.data(), 0, nullptr)) {
        ADD_FAILURE() << "unreadable PNG: " << image.message;
        return {};
    }
    return p;
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TEST(Output, PngDrawsHeadTwoOverHeadOne) {
    const ktdecode::Result r = DecodeAs("KT-508W", kTwoHeads);
    ASSERT_TRUE(r.ok) << r.error.Message();
    const struct {
        ktdecode::Rgb colours[2];
        Rgb8 one, two;
    } cases[] = {
        {{{0, 0, 0}, {255, 0, 0}}, {0, 0, 0}, {255, 0, 0}},
        {{{0, 0, 255}, {0, 128, 0}}, {0, 0, 255}, {0, 128, 0}},
    };
    for (const auto& c : cases) {
        std::string why;
        const Picture p = ReadPng(ktdecode::EncodePng(r.pages[0], c.colours, why));
        ASSERT_EQ(p.width, 12) << why;
        ASSERT_EQ(p.height, 12);
        const Rgb8 white{255, 255, 255};
        EXPECT_EQ(p.At(0, 0), c.one);
        EXPECT_EQ(p.At(3, 0), c.one);
        EXPECT_EQ(p.At(4, 0), c.two);
        EXPECT_EQ(p.At(7, 0), c.two);
        EXPECT_EQ(p.At(11, 0), c.one);
        EXPECT_EQ(p.At(0, 1), c.two);
        EXPECT_EQ(p.At(1, 1), white);
        EXPECT_EQ(p.At(11, 11), white);
    }
}

TEST(Output, PbmPerHeadAndNoPngForAnEmptyLabel) {
    const ktdecode::Result r = DecodeAs("KT-508W", kTwoHeads);
    ASSERT_TRUE(r.ok) << r.error.Message();
    const std::string header = "P4\n12 12\n";
    std::vector<uint8_t> expected(header.begin(), header.end());
    expected.resize(header.size() + 24, 0);
    expected[header.size()] = 0x0F;
    expected[header.size() + 2] = 0x80;
    EXPECT_EQ(ktdecode::EncodePbm(r.pages[0].heads[1].image), expected);

    // clang-format off
    const ktdecode::Result empty = DecodeAs("KT-936U", Stream("\x02" "F00" "000" "001" "030" "80" "\x03",
                                                              "\x02" "S" "0001" "\x03"));
    // clang-format on
    ASSERT_TRUE(empty.ok) << empty.error.Message();
    std::string why;
    EXPECT_TRUE(ktdecode::EncodePng(empty.pages[0], ktdecode::kDefaultHeadColours, why).empty());
    EXPECT_EQ(why, "the label is 0 x 8 dots: no image");
}

class Tool : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string dir = (fs::temp_directory_path() / "kt_decode_tool_XXXXXX").string();
        ASSERT_NE(mkdtemp(dir.data()), nullptr);
        dir_ = dir;
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Write(const char* name, const Bytes& bytes) {
        std::ofstream(dir_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return dir_ / name;
    }

    // Runs ktdecode with `args`; its exit status, its standard output in out_, its errors in err_.
    int Run(const std::string& args) {
        const std::string command = std::string(KTDECODE_TOOL) + " " + args + " >" + (dir_ / "out").string() +
                                    " 2>" + (dir_ / "err").string();
        const int status = std::system(command.c_str());
        const auto text = [](const fs::path& p) {
            std::ifstream f(p);
            std::stringstream s;
            s << f.rdbuf();
            return s.str();
        };
        out_ = text(dir_ / "out");
        err_ = text(dir_ / "err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir_;
    std::string out_;
    std::string err_;
};

TEST_F(Tool, ListsCommandsAndWritesALabelPerPage) {
    const fs::path stream = Write("job.prn", kTwoHeads);
    const fs::path labels = dir_ / "labels";
    ASSERT_EQ(Run("--list --rows --head-colors blue,00FF00 -o " + labels.string() + " " + stream.string()), 0)
        << err_;
    for (const char* line : {
             "       0  18  reset\n",
             "      19  h   head select: head 1\n",
             "      23  M   block 01 of head 1: X 79.5 mm, Y 0.0 mm, 1 row of 12 dots (2 bytes a row)\n",
             "      45  I   row 1 of block 01: raw, 2 bytes\n"
             "        data: FF F0\n"
             "        dots: ############\n",
             "page 1: 2 copies, bytes 0-99 (99 bytes), label 12 x 12 dots; head 1 blocks 01; head 2 blocks "
             "01\n",
             ": 99 bytes, 1 page, 2 labels printed (KT-508W)\n",
         }) {
        EXPECT_NE(out_.find(line), std::string::npos) << "no line\n" << line << "in\n" << out_;
    }
    const Picture p = ReadPng(ReadFile(labels / "label-0001.png"));
    ASSERT_EQ(p.width, 12);
    EXPECT_EQ(p.At(0, 0), (Rgb8{0, 0, 255}));
    EXPECT_EQ(p.At(4, 0), (Rgb8{0, 255, 0}));
    EXPECT_FALSE(fs::exists(labels / "label-0002.png"));

    ASSERT_EQ(Run("--pbm -o " + labels.string() + " - <" + stream.string()), 0) << err_;
    EXPECT_TRUE(fs::exists(labels / "label-0001-head1.pbm"));
    EXPECT_TRUE(fs::exists(labels / "label-0001-head2.pbm"));
}

TEST_F(Tool, MalformedStreamsAndBadArgumentsFail) {
    Bytes truncated(kTwoHeads.begin(), kTwoHeads.begin() + 50);
    const fs::path stream = Write("cut.prn", truncated);
    EXPECT_EQ(Run("--model KT-508W " + stream.string()), 1);
    EXPECT_NE(
        err_.find("cut.prn: byte 50, in raw row I at byte 45: expected 2 row bytes of block 01 (12 dots) and "
                  "03; the stream ends after 1 of them\n"),
        std::string::npos)
        << err_;

    EXPECT_EQ(Run("--model KT-936U " + Write("job.prn", kTwoHeads).string()), 1);
    EXPECT_NE(err_.find("byte 20, in head select h at byte 19: expected a command of a one-head printer"),
              std::string::npos)
        << err_;

    EXPECT_EQ(Run("--head-colors red " + stream.string()), 2);
    EXPECT_EQ(Run("--model KT-999 " + stream.string()), 2);
    EXPECT_EQ(Run(""), 2);
    EXPECT_EQ(Run((dir_ / "missing.prn").string()), 2);
}

} // namespace
