// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/httpresponsereader.h"

#include <algorithm>

namespace kelsing {

namespace {

constexpr std::string_view kStatusPrefix = "HTTP/1.";
// A chunk-size line: the size in hexadecimal and any chunk extensions after it.
constexpr std::size_t kChunkSizeLineLimit = 1024;
// The line end after a chunk's data.
constexpr std::size_t kChunkEndLimit = 2;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A line without its line end, which may be a line feed alone.
std::string_view withoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
    }
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

// The code of a status line "HTTP/1.x NNN reason".
std::optional<int> statusCode(std::string_view line) {
    if (line.size() < 12 || line.substr(0, kStatusPrefix.size()) != kStatusPrefix ||
        !isDigit(line[7]) || line[8] != ' ' || (line.size() > 12 && line[12] != ' ')) {
        return std::nullopt;
    }
    int code = 0;
    for (const char c : line.substr(9, 3)) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        code = code * 10 + (c - '0');
    }
    return code;
}

// A decimal length no larger than `limit`; nothing for a larger one or for anything else.
std::optional<std::size_t> decimalLength(std::string_view text, std::size_t limit) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::size_t value = 0;
    for (const char c : text) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::size_t>(c - '0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return value;
}

} // namespace

HttpResponseReader::HttpResponseReader(HttpLimits limits, bool bodyFollows)
    : m_limits(limits)
    , m_bodyFollows(bodyFollows) {
}

HttpResponseReader::State HttpResponseReader::feed(std::string_view bytes) {
    while (!bytes.empty() && (m_state == State::Head || m_state == State::Body)) {
        bytes.remove_prefix(m_state == State::Head ? readHead(bytes) : readBody(bytes));
    }
    return m_state;
}

HttpResponseReader::State HttpResponseReader::end() {
    if (m_state == State::Body && m_framing == Framing::ToEnd) {
        m_state = State::Complete;
    } else if (m_state == State::Head || m_state == State::Body) {
        fail();
    }
    return m_state;
}

std::optional<std::string> HttpResponseReader::header(std::string_view name) const {
    for (const auto& [headerName, value] : m_headers) {
        if (sameName(headerName, name)) {
            return value;
        }
    }
    return std::nullopt;
}

bool HttpResponseReader::takeLine(std::string_view bytes, std::size_t& used, std::size_t limit) {
    const std::size_t lineEnd = bytes.find('\n');
    used = lineEnd == std::string_view::npos ? bytes.size() : lineEnd + 1;
    if (m_line.size() + used > limit) {
        fail();
        return false;
    }
    m_line.append(bytes.substr(0, used));
    return lineEnd != std::string_view::npos;
}

std::size_t HttpResponseReader::readHead(std::string_view bytes) {
    std::size_t used = 0;
    const bool whole = takeLine(bytes, used, m_limits.headBytes - m_headBytes);
    // What answers with something other than a status line is no HTTP server.
    const std::size_t start = std::min(m_line.size(), kStatusPrefix.size());
    if (!m_statusRead &&
        std::string_view(m_line).substr(0, start) != kStatusPrefix.substr(0, start)) {
        fail();
    }
    if (!whole || m_state == State::Failed) {
        return used;
    }
    m_headBytes += m_line.size();
    const std::string line = std::move(m_line);
    m_line.clear();
    headLine(withoutLineEnd(line));
    return used;
}

void HttpResponseReader::headLine(std::string_view line) {
    if (!m_statusRead) {
        const auto code = statusCode(line);
        if (!code) {
            fail();
            return;
        }
        m_status = *code;
        m_statusRead = true;
        return;
    }
    if (line.empty()) {
        headEnded();
        return;
    }
    if (++m_headerLines > m_limits.headerLines) {
        fail();
        return;
    }
    // A line without a name (an obsolete continuation, say) says nothing this reader needs.
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && colon > 0) {
        m_headers.emplace_back(std::string(line.substr(0, colon)),
                               std::string(trimmed(line.substr(colon + 1))));
    }
}

void HttpResponseReader::headEnded() {
    if (m_status >= 100 && m_status < 200) {
        // An interim answer: the final one follows, within the same limits.
        if (m_status == 101) {
            fail();
            return;
        }
        m_statusRead = false;
        m_headers.clear();
        return;
    }
    m_state = State::Body;
    if (!m_bodyFollows || m_status == 204 || m_status == 304) {
        m_state = State::Complete;
        return;
    }
    int encodings = 0;
    std::optional<std::size_t> length;
    for (const auto& [name, value] : m_headers) {
        if (sameName(name, "Transfer-Encoding")) {
            // Only chunked alone: another coding would need decoding, and two framings of one
            // body disagree.
            if (++encodings > 1 || !sameName(value, "chunked")) {
                fail();
                return;
            }
        } else if (sameName(name, "Content-Length")) {
            // A body announced as longer than the limit is refused before any of it arrives.
            const auto stated = decimalLength(value, m_limits.bodyBytes);
            if (!stated || (length && *length != *stated)) {
                fail();
                return;
            }
            length = stated;
        }
    }
    if (encodings > 0) {
        m_framing = Framing::Chunked;
        m_chunkPart = ChunkPart::Size;
    } else if (length) {
        m_framing = Framing::Length;
        m_remaining = *length;
        if (m_remaining == 0) {
            m_state = State::Complete;
        }
    } else {
        m_framing = Framing::ToEnd;
    }
}

std::size_t HttpResponseReader::readBody(std::string_view bytes) {
    switch (m_framing) {
    case Framing::Length: {
        const std::size_t taken = std::min(bytes.size(), m_remaining);
        m_body.append(bytes.substr(0, taken));
        m_remaining -= taken;
        if (m_remaining == 0) {
            m_state = State::Complete;
        }
        return taken;
    }
    case Framing::ToEnd:
        if (m_body.size() + bytes.size() > m_limits.bodyBytes) {
            fail();
        } else {
            m_body.append(bytes);
        }
        return bytes.size();
    case Framing::Chunked:
        return readChunked(bytes);
    }
    return bytes.size();
}

std::size_t HttpResponseReader::readChunked(std::string_view bytes) {
    std::size_t used = 0;
    switch (m_chunkPart) {
    case ChunkPart::Size: {
        if (!takeLine(bytes, used, kChunkSizeLineLimit)) {
            return used;
        }
        std::string_view size = withoutLineEnd(m_line);
        size = trimmed(size.substr(0, size.find(';')));
        std::size_t value = 0;
        for (const char c : size) {
            const char digit = lower(c);
            const bool hex = isDigit(digit) || (digit >= 'a' && digit <= 'f');
            value = value * 16 +
                    static_cast<std::size_t>(isDigit(digit) ? digit - '0' : digit - 'a' + 10);
            if (!hex || value > m_limits.bodyBytes - m_body.size()) {
                fail();
                return used;
            }
        }
        if (size.empty()) {
            fail();
            return used;
        }
        m_line.clear();
        m_remaining = value;
        m_chunkPart = value == 0 ? ChunkPart::Trailer : ChunkPart::Data;
        return used;
    }
    case ChunkPart::Data: {
        const std::size_t taken = std::min(bytes.size(), m_remaining);
        m_body.append(bytes.substr(0, taken));
        m_remaining -= taken;
        if (m_remaining == 0) {
            m_chunkPart = ChunkPart::DataEnd;
        }
        return taken;
    }
    case ChunkPart::DataEnd:
        if (takeLine(bytes, used, kChunkEndLimit)) {
            if (!withoutLineEnd(m_line).empty()) {
                fail();
            }
            m_line.clear();
            m_chunkPart = ChunkPart::Size;
        }
        return used;
    case ChunkPart::Trailer:
        if (takeLine(bytes, used, m_limits.headBytes - m_headBytes)) {
            m_headBytes += m_line.size();
            const std::string line = std::move(m_line);
            m_line.clear();
            if (withoutLineEnd(line).empty()) {
                m_state = State::Complete;
            } else if (++m_headerLines > m_limits.headerLines) {
                fail();
            }
        }
        return used;
    }
    return bytes.size();
}

} // namespace kelsing
