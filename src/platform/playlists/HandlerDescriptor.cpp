#include "platform/playlists/HandlerDescriptor.h"

HandlerDescriptor HandlerDescriptor::listDescriptor() {
    HandlerDescriptor list;
    list._type = Type::List;
    return list;
}

HandlerDescriptor HandlerDescriptor::descriptorWithString(const QString& text) {
    HandlerDescriptor descriptor;
    descriptor._type = Type::Text;
    descriptor._text = text;
    return descriptor;
}

HandlerDescriptor HandlerDescriptor::descriptorWithInt32(int32_t value) {
    HandlerDescriptor descriptor;
    descriptor._type = Type::Integer;
    descriptor._integer = value;
    return descriptor;
}

void HandlerDescriptor::insertDescriptorAtIndex(const HandlerDescriptor& item, int index) {
    if (_type != Type::List)
        return;
    if (index <= 0 || size_t(index) > _items.size())
        _items.push_back(item);
    else
        _items.insert(_items.begin() + (index - 1), item);
}

int HandlerDescriptor::numberOfItems() const {
    return _type == Type::List ? int(_items.size()) : 0;
}

HandlerDescriptor HandlerDescriptor::descriptorAtIndex(int index) const {
    if (_type != Type::List || index < 1 || size_t(index) > _items.size())
        return {};
    return _items[size_t(index - 1)];
}

QString HandlerDescriptor::stringValue() const {
    switch (_type) {
    case Type::Text:
        return _text;
    case Type::Integer:
        return QString::number(_integer);
    case Type::Null:
    case Type::List:
        break;
    }
    return {};
}

int32_t HandlerDescriptor::int32Value() const {
    if (_type == Type::Integer)
        return _integer;
    if (_type == Type::Text) {
        bool ok = false;
        const int value = _text.trimmed().toInt(&ok);
        return ok ? value : 0;
    }
    return 0;
}
