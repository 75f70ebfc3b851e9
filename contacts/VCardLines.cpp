#include "contacts/VCardLines.h"

#include "codec/AsciiText.h"

#include <algorithm>
#include <utility>

namespace {

std::string_view unquoted(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

}  // namespace

CardMarker cardMarker(std::string_view line) {
    // A CR left over from CR CR LF line ends (a CR LF text written again in text mode) is no blank
    // a person sees either.
    line = line.substr(0, line.find_last_not_of(" \t\r") + 1);
    if (ascii::equalsNoCase(line, "BEGIN:VCARD")) {
        return CardMarker::Begin;
    }
    return ascii::equalsNoCase(line, "END:VCARD") ? CardMarker::End : CardMarker::None;
}

namespace {

enum class Agent { None, Empty, InlineCard };

// Whether line is an AGENT property, and whether its value is empty or opens a nested card.
Agent agentProperty(std::string_view line) {
    // The name alone rules out most lines before one is parsed.
    std::string_view head = line.substr(0, line.find_first_of(";:"));
    if (const std::size_t dot = head.find('.'); dot != std::string_view::npos) {
        head.remove_prefix(dot + 1);
    }
    const std::optional<ContentLine> parts = ascii::equalsNoCase(head, "AGENT") ? parseContentLine(line) : std::nullopt;
    if (!parts) {
        return Agent::None;
    }
    const std::string_view value = ascii::trimmed(parts->value);
    if (value.empty()) {
        return Agent::Empty;
    }
    return ascii::equalsNoCase(value, "BEGIN:VCARD") ? Agent::InlineCard : Agent::None;
}

}  // namespace

CardStep CardTracker::next(std::string_view line) {
    const bool afterEmptyAgent = std::exchange(m_afterEmptyAgent, false);
    const CardMarker marker = cardMarker(line);
    if (m_depth == 0) {
        m_depth = marker == CardMarker::Begin ? 1 : 0;
        return marker == CardMarker::Begin ? CardStep::Begin : CardStep::None;
    }
    if (marker == CardMarker::End) {
        return --m_depth == 0 ? CardStep::End : CardStep::NestedEnd;
    }
    if (marker == CardMarker::Begin && !afterEmptyAgent) {
        m_depth = 1;
        return CardStep::Cut;
    }
    const Agent agent = marker == CardMarker::Begin ? Agent::None : agentProperty(line);
    if (marker == CardMarker::Begin || agent == Agent::InlineCard) {
        ++m_depth;
        return CardStep::Nested;
    }
    m_afterEmptyAgent = agent == Agent::Empty;
    return CardStep::None;
}

std::optional<ContentLine> parseContentLine(std::string_view line) {
    const std::size_t nameEnd = line.find_first_of(";:");
    if (nameEnd == std::string_view::npos) {
        return std::nullopt;
    }
    ContentLine parts;
    parts.name = line.substr(0, nameEnd);
    // "item1.FN": the group only ties properties together; the name is what follows its dot.
    if (const std::size_t dot = parts.name.find('.'); dot != std::string_view::npos) {
        parts.name.remove_prefix(dot + 1);
    }
    if (line[nameEnd] == ':') {
        parts.value = line.substr(nameEnd + 1);
        return parts;
    }
    bool quoted = false;
    std::size_t paramStart = nameEnd + 1;
    for (std::size_t i = paramStart; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ';' || c == ':')) {
            parts.params.push_back(line.substr(paramStart, i - paramStart));
            paramStart = i + 1;
            if (c == ':') {
                parts.value = line.substr(i + 1);
                return parts;
            }
        }
    }
    // A quote that never closes: read as if quotes meant nothing, from the first colon on.
    const std::size_t colon = line.find(':', nameEnd);
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    parts.params.assign(1, line.substr(nameEnd + 1, colon - nameEnd - 1));
    parts.value = line.substr(colon + 1);
    return parts;
}

Parameter splitParameter(std::string_view param) {
    const std::size_t equals = param.find('=');
    if (equals == std::string_view::npos) {
        return {{}, param};
    }
    return {param.substr(0, equals), unquoted(param.substr(equals + 1))};
}

bool isQuotedPrintable(const ContentLine& line) {
    return std::any_of(line.params.begin(), line.params.end(), [](std::string_view param) {
        const Parameter parameter = splitParameter(param);
        return (parameter.key.empty() || ascii::equalsNoCase(parameter.key, "ENCODING")) &&
               ascii::equalsNoCase(parameter.value, "QUOTED-PRINTABLE");
    });
}

std::string_view VCardLineReader::takePhysicalLine() {
    const std::size_t end = m_rest.find('\n');
    std::string_view line = m_rest.substr(0, end);
    m_rest.remove_prefix(end == std::string_view::npos ? m_rest.size() : end + 1);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

bool VCardLineReader::next(std::string& line) {
    if (m_rest.empty()) {
        return false;
    }
    line.assign(takePhysicalLine());
    // Decided once, when the first colon shows the head whole; looking for it only in what each
    // step appends keeps a long line linear.
    std::optional<bool> quotedPrintable;
    std::size_t searched = 0;
    while (!m_rest.empty()) {
        if (!quotedPrintable && line.find(':', searched) != std::string::npos) {
            const std::optional<ContentLine> parts = parseContentLine(line);
            quotedPrintable = parts && isQuotedPrintable(*parts);
        }
        searched = line.size();
        // A soft line break first: the line after it is value, even when it starts with a blank.
        if (quotedPrintable.value_or(false) && !line.empty() && line.back() == '=') {
            line.pop_back();
            line.append(takePhysicalLine());
        } else if (m_rest.front() == ' ' || m_rest.front() == '\t') {
            line.append(takePhysicalLine().substr(1));
        } else {
            break;
        }
    }
    return true;
}
