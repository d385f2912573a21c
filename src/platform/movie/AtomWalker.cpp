#include "platform/movie/AtomWalker.h"

#include <cstring>

AtomWalker::AtomWalker(Read read, uint64_t begin, uint64_t end, Budget* budget, int depth)
    : _read(std::move(read)), _pos(begin), _end(end < begin ? begin : end), _budget(budget),
      _depth(depth) {}

AtomWalker::Step AtomWalker::next(Atom* atom) {
    if (_depth > kMaxDepth)
        return Step::Broken;
    if (_pos == _end)
        return Step::End;
    *atom = Atom{};
    atom->offset = _pos;
    const uint64_t room = _end - _pos;
    uint8_t header[16];
    if (room < 8 || !_read(_pos, header, 8))
        return Step::RunsPast;
    if (_budget) {
        if (_budget->atomsLeft == 0)
            return Step::Broken;
        --_budget->atomsLeft;
    }
    const uint32_t size32 = AtomBytes::be32(header);
    atom->type = AtomBytes::be32(header + 4);
    if (size32 == 1) {
        atom->headerSize = 16;
        if (room < 16 || !_read(_pos + 8, header + 8, 8))
            return Step::RunsPast;
        atom->size = AtomBytes::be64(header + 8);
    } else if (size32 == 0) {
        atom->size = room; // to the end of the parent
    } else {
        atom->size = size32;
    }
    if (atom->size < atom->headerSize)
        return Step::Broken;
    if (atom->size > room)
        return Step::RunsPast;
    _pos += atom->size; // at least 8: strictly forward, and never past _end
    return Step::Atom;
}

AtomWalker AtomWalker::children(const Atom& atom) const {
    return AtomWalker(_read, atom.bodyOffset(), atom.end(), _budget, _depth + 1);
}

AtomWalker::Read AtomWalker::over(const QByteArray& bytes) {
    return [&bytes](uint64_t offset, void* buffer, size_t length) {
        const auto size = uint64_t(bytes.size());
        if (offset > size || length > size - offset)
            return false;
        std::memcpy(buffer, bytes.constData() + offset, length);
        return true;
    };
}
