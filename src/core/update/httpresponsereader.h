// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelsing {

/// How much of an HTTP response a reader takes before it gives up.
struct HttpLimits {
    /// The status line, the header lines and their line ends, interim responses included.
    std::size_t headBytes = 16 * 1024;
    /// Header lines, of the response and of any interim responses and chunked trailers together.
    std::size_t headerLines = 100;
    /// The decoded body.
    std::size_t bodyBytes = 64 * 1024;
};

/// Reads one HTTP/1.x response as its bytes arrive, and fails as soon as the response passes a
/// limit, breaks the protocol or ends too early; it never holds more than the limits allow.
/// Bodies are read by Content-Length, chunked or up to the end of the connection.
class HttpResponseReader {
public:
    enum class State {
        Head,     // the status line and the headers are still arriving
        Body,     // the head is read; the body is arriving
        Complete, // the whole response is read
        Failed,   // the response broke a limit or the protocol
    };

    /// A reader of a response that carries a body unless its status says otherwise; without
    /// `bodyFollows` (the answer to CONNECT) the response is complete at the end of its head.
    explicit HttpResponseReader(HttpLimits limits = {}, bool bodyFollows = true);

    /// Takes the next bytes of the connection; bytes after a complete response are ignored.
    State feed(std::string_view bytes);

    /// The connection has ended: complete for a body that runs to the end, failed when cut short.
    State end();

    State state() const { return m_state; }

    /// The final status code, once the head is read.
    int status() const { return m_status; }

    /// The value of the first header named `name` (any case), without surrounding blanks.
    std::optional<std::string> header(std::string_view name) const;

    /// The decoded body so far; whole once the state is Complete.
    const std::string& body() const { return m_body; }

private:
    enum class Framing { Length, Chunked, ToEnd };
    enum class ChunkPart { Size, Data, DataEnd, Trailer };

    std::size_t readHead(std::string_view bytes);
    std::size_t readBody(std::string_view bytes);
    std::size_t readChunked(std::string_view bytes);
    // Collects bytes up to a line end into m_line; whether a whole line is there.
    bool takeLine(std::string_view bytes, std::size_t& used, std::size_t limit);
    void headLine(std::string_view line);
    void headEnded();
    void fail() { m_state = State::Failed; }

    HttpLimits m_limits;
    bool m_bodyFollows;
    State m_state = State::Head;
    int m_status = 0;
    bool m_statusRead = false;
    std::size_t m_headBytes = 0;
    std::size_t m_headerLines = 0;
    std::vector<std::pair<std::string, std::string>> m_headers;
    std::string m_line;
    Framing m_framing = Framing::ToEnd;
    std::size_t m_remaining = 0; // of the body by length, or of the current chunk
    ChunkPart m_chunkPart = ChunkPart::Size;
    std::string m_body;
};

} // namespace kelsing
