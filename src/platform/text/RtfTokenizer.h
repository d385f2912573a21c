#pragma once

#include <QByteArrayView>

#include <algorithm>
#include <cstddef>

namespace Rtf::detail {

struct Token {
    enum Kind { End, OpenGroup, CloseGroup, Word, Symbol, Hex, Text, Binary };
    Kind kind = End;
    QByteArrayView word; // Word: the letters; Text and Binary: the bytes
    bool hasNumber = false;
    int number = 0;  // clamped to +-kNumberLimit
    char symbol = 0; // Symbol: the character after the backslash; Hex: the byte
};

// Splits RTF into tokens in one forward pass; never reads past the end, whatever the input.
class Tokenizer {
public:
    static constexpr int kNumberLimit = 1'000'000'000;

    explicit Tokenizer(QByteArrayView data) : _at(data.data()), _end(data.data() + data.size()) {}

    Token next() {
        Token token;
        while (_at < _end && (*_at == '\r' || *_at == '\n' || *_at == '\0'))
            ++_at;
        if (_at == _end)
            return token;
        const char c = *_at;
        if (c == '{' || c == '}') {
            ++_at;
            token.kind = c == '{' ? Token::OpenGroup : Token::CloseGroup;
            return token;
        }
        if (c != '\\') {
            const char* start = _at;
            while (_at < _end && !isSpecial(*_at))
                ++_at;
            token.kind = Token::Text;
            token.word = QByteArrayView(start, _at - start);
            return token;
        }
        ++_at;
        if (_at == _end)
            return token;
        if (isLetter(*_at))
            return controlWord();
        const char symbol = *_at++;
        if (symbol == '\r' || symbol == '\n') { // a backslash ending a line is a paragraph
            token.kind = Token::Word;
            token.word = "par";
            return token;
        }
        if (symbol == '\'') {
            const int high = _at < _end ? hexValue(*_at) : -1;
            const int low = _at + 1 < _end ? hexValue(_at[1]) : -1;
            if (high < 0 || low < 0) {
                token.kind = Token::Symbol; // a broken escape: ignored by the reader
                token.symbol = '\'';
                return token;
            }
            _at += 2;
            token.kind = Token::Hex;
            token.symbol = char(high * 16 + low);
            return token;
        }
        token.kind = Token::Symbol;
        token.symbol = symbol;
        return token;
    }

private:
    static bool isSpecial(char c) {
        return c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n' || c == '\0';
    }
    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static int hexValue(char c) {
        if (isDigit(c))
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    Token controlWord() {
        Token token;
        token.kind = Token::Word;
        const char* start = _at;
        while (_at < _end && isLetter(*_at))
            ++_at;
        token.word = QByteArrayView(start, _at - start);
        bool negative = false;
        if (_at + 1 < _end && *_at == '-' && isDigit(_at[1])) {
            negative = true;
            ++_at;
        }
        if (_at < _end && isDigit(*_at)) {
            token.hasNumber = true;
            long long value = 0;
            for (; _at < _end && isDigit(*_at); ++_at) {
                if (value <= kNumberLimit)
                    value = value * 10 + (*_at - '0');
            }
            value = value > kNumberLimit ? kNumberLimit : value;
            token.number = int(negative ? -value : value);
        }
        if (_at < _end && *_at == ' ')
            ++_at;
        if (token.word == "bin" && token.number > 0) {
            // \binN: N raw bytes follow, which may contain anything, braces included.
            const std::ptrdiff_t length = std::min<std::ptrdiff_t>(token.number, _end - _at);
            token.kind = Token::Binary;
            token.word = QByteArrayView(_at, length);
            _at += length;
        }
        return token;
    }

    const char* _at;
    const char* _end;
};

} // namespace Rtf::detail
