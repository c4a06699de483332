// The pages write numbers without printf for speed; these checks hold that the
// bytes are exactly printf's for "%i", "%u", "%.1f" and "%.2f". And the output
// file passes on pieces of every size whole, around its 64 KiB buffer.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/outfile.h"
#include "html/primitives.h"

static std::string printf_text(const char* format, double value) {
    char buffer[512];
    snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

TEST(FastFormat, FixedDecimalsMatchPrintfOnRandomAndEdgeValues) {
    std::mt19937_64 random(20261206);
    std::vector<double> values = {0.0, -0.0, 0.005, 0.015, 0.025, -0.005, 0.05, 0.15, 0.25, 0.35,
                                  1.005, 2.675, 71.42857142857143, -9999.0, 1e9, 1e10, -1e-9,
                                  DBL_MAX, -DBL_MAX, 1e300, 4294967295.0 * 60};
    for (int k = 0; k < 200000; k++) {
        switch (k % 4) {
            case 0: values.push_back(static_cast<double>(random() % 2000000) / (1 + random() % 3000) - 300); break;
            case 1: values.push_back((random() % 100000) / 1000.0 * ((random() & 1) ? -1 : 1)); break;
            case 2:  // a ratio: frags and deaths per minute
                values.push_back(static_cast<double>(random() % 10000) * 60.0 / (1 + random() % 100000) -
                                 static_cast<double>(random() % 1000) * 60.0 / (1 + random() % 100000));
                break;
            default: values.push_back((random() % 200001) / 200.0 - 500); break;  // many exact ties
        }
    }
    int mismatches = 0;
    for (double v : values) {
        if (format_fixed(v, 1) != printf_text("%.1f", v)) mismatches++;
        if (format_fixed(v, 2) != printf_text("%.2f", v)) mismatches++;
        if (mismatches == 1) ADD_FAILURE() << "first mismatch at " << v;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(FastFormat, IntegersMatchPrintf) {
    char path[] = "/tmp/vexo_fast_format_XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    const long long signed_values[] = {0, 1, -1, 9, 10, 99, 100, -100, 65535, 65536, INT_MAX, INT_MIN,
                                       LLONG_MAX, LLONG_MIN};
    const unsigned long long unsigned_values[] = {0, 7, 4294967295ull, ULLONG_MAX};
    std::string expected;
    {
        outfile out;
        out.open(path);
        char buffer[64];
        for (long long v : signed_values) {
            out.put_int(v);
            out.lit("|");
            snprintf(buffer, sizeof buffer, "%lld|", v);
            expected += buffer;
        }
        for (unsigned long long v : unsigned_values) {
            out.put_uint(v);
            out.lit("|");
            snprintf(buffer, sizeof buffer, "%llu|", v);
            expected += buffer;
        }
        out.close();
    }
    FILE* f = fopen(path, "rb");
    ASSERT_NE(f, nullptr);
    char content[1024] = {0};
    size_t n = fread(content, 1, sizeof content - 1, f);
    fclose(f);
    unlink(path);
    EXPECT_EQ(std::string(content, n), expected);
}

TEST(FastFormat, PiecesOfEverySizeArriveWhole) {
    char path[] = "/tmp/vexo_pieces_XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    std::mt19937 random(7);
    std::string expected;
    {
        outfile out;
        out.open(path);
        const size_t B = outfile::BUFFER_SIZE;
        for (size_t size : {size_t{1}, 3 * B + 17, B, B - 1, size_t{5}, B + 1, 2 * B, size_t{0}, B / 2 + 3}) {
            std::string piece(size, ' ');
            for (char& c : piece) c = static_cast<char>('a' + random() % 26);
            out.write(piece.data(), piece.size());
            expected += piece;
            if (size > B / 2) {   // the same through print, formatted into a block of its own
                out.print("<%s>", piece.c_str());
                expected += "<" + piece + ">";
            }
        }
        out.close();
    }
    std::ifstream in(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    unlink(path);
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected) << "the file differs from the pieces written";
}
