#pragma once

#include <QString>

#include <cstdint>
#include <map>
#include <vector>

// A value passed to or answered by a playlist component's handler: none, a text, a 32-bit
// integer, or a list of such values (lists nest). Items of a list are numbered from 1.
class HandlerDescriptor {
public:
    enum class Type { Null, Text, Integer, List };

    HandlerDescriptor() = default;
    static HandlerDescriptor listDescriptor();
    static HandlerDescriptor descriptorWithString(const QString& text);
    static HandlerDescriptor descriptorWithInt32(int32_t value);

    Type type() const { return _type; }
    bool isNull() const { return _type == Type::Null; }
    bool isList() const { return _type == Type::List; }

    // Inserts at the 1-based position; 0 or a position past the end appends. Does nothing
    // when this is not a list.
    void insertDescriptorAtIndex(const HandlerDescriptor& item, int index);
    // 0 when this is not a list.
    int numberOfItems() const;
    // The item at the 1-based position; none when out of range or not a list.
    HandlerDescriptor descriptorAtIndex(int index) const;

    // A text as it is, an integer in decimal; null for none and lists.
    QString stringValue() const;
    // An integer, or a text holding one; 0 otherwise.
    int32_t int32Value() const;

    bool operator==(const HandlerDescriptor&) const = default;

private:
    Type _type = Type::Null;
    QString _text;
    int32_t _integer = 0;
    std::vector<HandlerDescriptor> _items;
};

// Four-character codes of the handler event.
constexpr uint32_t fourCharCode(const char (&code)[5]) {
    return uint32_t(uint8_t(code[0])) << 24 | uint32_t(uint8_t(code[1])) << 16 |
           uint32_t(uint8_t(code[2])) << 8 | uint32_t(uint8_t(code[3]));
}

// The event that asks a component to run one handler: subroutine class and ID, addressed to
// our own process, with the handler's name and its argument list as parameters.
struct HandlerEvent {
    static constexpr uint32_t kSuiteClass = fourCharCode("ascr");
    static constexpr uint32_t kSubroutineID = fourCharCode("psbr");
    static constexpr uint32_t kSubroutineName = fourCharCode("snam");
    static constexpr uint32_t kDirectObject = fourCharCode("----");
    static constexpr int16_t kAutoGenerateReturnID = -1;
    static constexpr int32_t kAnyTransactionID = 0;

    uint32_t eventClass = 0;
    uint32_t eventID = 0;
    int32_t targetProcess = 0; // the process the event is addressed to
    int16_t returnID = kAutoGenerateReturnID;
    int32_t transactionID = kAnyTransactionID;
    std::map<uint32_t, HandlerDescriptor> parameters;

    HandlerDescriptor parameter(uint32_t key) const {
        const auto found = parameters.find(key);
        return found == parameters.end() ? HandlerDescriptor() : found->second;
    }
};
