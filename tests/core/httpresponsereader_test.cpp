// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/httpresponsereader.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

using namespace kelsing;
using State = HttpResponseReader::State;

namespace {

// Small limits, so that the edges are short to write: 64 bytes of head, 3 header lines, an
// 8-byte body. The window's tests try the real ones.
constexpr HttpLimits kSmall{64, 3, 8};

struct ResponseCase {
    const char* name;
    std::string response; // all that the connection brings before it ends
    State state;          // once the connection has ended
    std::string body;     // when complete
    HttpLimits limits = kSmall;
};

std::ostream& operator<<(std::ostream& os, const ResponseCase& c) {
    return os << c.name;
}

const std::string kOk = "HTTP/1.1 200 OK\r\n";
const std::string kChunked = kOk + "Transfer-Encoding: chunked\r\n\r\n";

const ResponseCase kResponses[] = {
    {"by_length", kOk + "Content-Length: 5\r\n\r\nhello", State::Complete, "hello"},
    {"bytes_past_the_length_ignored", kOk + "Content-Length: 2\r\n\r\nhello", State::Complete,
     "he"},
    {"to_the_end", "HTTP/1.0 200 OK\r\n\r\nabc", State::Complete, "abc"},
    {"line_feeds_alone", "HTTP/1.1 200 OK\nContent-Length: 1\n\nx", State::Complete, "x"},
    {"lengths_disagree", kOk + "Content-Length: 1\r\nContent-Length: 2\r\n\r\nxy", State::Failed,
     ""},
    {"length_not_a_number", kOk + "Content-Length: 1x\r\n\r\nx", State::Failed, ""},
    {"http_2", "HTTP/2.0 200 OK\r\n\r\nx", State::Failed, ""},
    {"interim_answer_first", "HTTP/1.1 100 Continue\r\n\r\n" + kOk + "Content-Length: 1\r\n\r\nx",
     State::Complete, "x"},
    {"switching_protocols", "HTTP/1.1 101 Switching Protocols\r\n\r\nxyz", State::Failed, ""},
    {"no_content", "HTTP/1.1 204 No Content\r\n\r\n", State::Complete, ""},
    {"other_transfer_coding", kOk + "Transfer-Encoding: gzip\r\n\r\nxyz", State::Failed, ""},
    {"chunked_twice",
     kOk + "Transfer-Encoding: chunked\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n",
     State::Failed,
     "",
     {128, 3, 8}},
    {"chunked",
     kChunked + "3;x=1\r\nhel\r\nA\r\nlo, world!\r\n0\r\nT: 1\r\n\r\n",
     State::Complete,
     "hello, world!",
     {64, 3, 16}},
    {"chunk_size_not_hex", kChunked + "zz\r\nhello\r\n0\r\n\r\n", State::Failed, ""},
    {"chunk_without_its_line_end", kChunked + "2\r\nhiXX0\r\n\r\n", State::Failed, ""},
    {"chunked_without_the_last_chunk", kChunked + "2\r\nhi\r\n", State::Failed, ""},
    // The limits of chunked bodies, at their edges and one past.
    {"trailer_lines_count_too",
     kChunked + "0\r\nB: 2\r\nC: 3\r\nD: 4\r\n\r\n",
     State::Failed,
     "",
     {128, 3, 8}},
    {"chunks_at_the_limit", kChunked + "4\r\n1234\r\n4\r\n5678\r\n0\r\n\r\n", State::Complete,
     "12345678"},
    {"chunks_past_the_limit", kChunked + "4\r\n1234\r\n5\r\n56789\r\n0\r\n\r\n", State::Failed, ""},
};

class HttpResponseReaderTest : public testing::TestWithParam<ResponseCase> {};

// However the bytes are split, the reader comes to the same end.
TEST_P(HttpResponseReaderTest, ReadsTheResponseWithinItsLimits) {
    const ResponseCase& c = GetParam();
    HttpResponseReader whole(c.limits);
    whole.feed(c.response);
    HttpResponseReader bytewise(c.limits);
    for (const char byte : c.response) {
        bytewise.feed(std::string_view(&byte, 1));
    }
    for (HttpResponseReader* reader : {&whole, &bytewise}) {
        EXPECT_EQ(reader->end(), c.state);
        if (c.state == State::Complete) {
            EXPECT_EQ(reader->body(), c.body);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Responses, HttpResponseReaderTest, testing::ValuesIn(kResponses),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
