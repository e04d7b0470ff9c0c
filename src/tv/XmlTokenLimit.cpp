#include "tv/XmlTokenLimit.h"

#include "platform/UiText.h"

#include <cstring>
#include <utility>

namespace {
constexpr std::string_view kComment = "!--";
constexpr std::string_view kCData = "![CDATA[";

bool startsWith(std::string_view whole, std::string_view part) {
    return whole.substr(0, part.size()) == part.substr(0, whole.size());
}
} // namespace

void XmlTokenLimit::enter(State s) {
    state_ = s;
    length_ = 0;
    last_[0] = last_[1] = 0;
}

bool XmlTokenLimit::grow(qsizetype n) {
    length_ += n;
    if (length_ <= max_)
        return true;
    const char* key = "tokenTag";
    const char* builtIn = "тег с атрибутами";
    switch (state_) {
    case State::Text:
        key = "tokenText";
        builtIn = "текст";
        break;
    case State::Comment:
        key = "tokenComment";
        builtIn = "комментарий";
        break;
    case State::CData:
        key = "tokenCData";
        builtIn = "блок CDATA";
        break;
    case State::Instruction:
        key = "tokenInstruction";
        builtIn = "инструкция <?…?>";
        break;
    case State::Open:
    case State::Tag:
        break;
    }
    error_ =
        UiText("TvGuide", key,
               QString::fromUtf8(builtIn) +
                   QStringLiteral(" длиннее %1 КБ без конца: файл испорчен или это не программа передач"))
            .arg(max_ >> 10);
    return false;
}

bool XmlTokenLimit::feed(QByteArrayView bytes) {
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while (p < end) {
        switch (state_) {
        case State::Text: {
            const auto* lt = static_cast<const char*>(std::memchr(p, '<', size_t(end - p)));
            if (!lt)
                return grow(end - p);
            if (!grow(lt - p))
                return false;
            p = lt + 1;
            enter(State::Open);
            head_.clear();
            break;
        }
        case State::Open: {
            head_ += *p++;
            if (!grow(1))
                return false;
            if (head_ == kComment) {
                enter(State::Comment);
            } else if (head_ == kCData) {
                enter(State::CData);
            } else if (head_[0] == '?') {
                enter(State::Instruction);
            } else if (!startsWith(head_, kComment) && !startsWith(head_, kCData)) {
                // An element, an end tag or a declaration: reread what was taken as part of it.
                state_ = State::Tag;
                quote_ = 0;
                for (char c : head_) {
                    if (quote_ && c == quote_)
                        quote_ = 0;
                    else if (!quote_ && (c == '"' || c == '\''))
                        quote_ = c;
                    else if (!quote_ && c == '>')
                        enter(State::Text);
                }
            }
            break;
        }
        case State::Tag: {
            const char c = *p++;
            if (!grow(1))
                return false;
            if (quote_) {
                if (c == quote_)
                    quote_ = 0;
            } else if (c == '"' || c == '\'') {
                quote_ = c;
            } else if (c == '>') {
                enter(State::Text);
            }
            break;
        }
        case State::Comment:
        case State::CData:
        case State::Instruction: {
            // Ends at "-->", "]]>" or "?>": look for each '>' and the bytes before it.
            const auto* gt = static_cast<const char*>(std::memchr(p, '>', size_t(end - p)));
            const char* stop = gt ? gt : end;
            const qsizetype n = stop - p;
            if (n >= 2) {
                last_[0] = stop[-2];
                last_[1] = stop[-1];
            } else if (n == 1) {
                last_[0] = last_[1];
                last_[1] = stop[-1];
            }
            if (!grow(n + (gt ? 1 : 0)))
                return false;
            p = gt ? gt + 1 : end;
            if (!gt)
                break;
            const bool closed = state_ == State::Comment ? last_[0] == '-' && last_[1] == '-'
                                : state_ == State::CData ? last_[0] == ']' && last_[1] == ']'
                                                         : last_[1] == '?';
            if (closed)
                enter(State::Text);
            else
                last_[0] = std::exchange(last_[1], '>');
            break;
        }
        }
    }
    return true;
}
