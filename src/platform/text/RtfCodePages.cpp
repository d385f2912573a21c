#include "platform/text/RtfCodePages.h"

namespace Rtf::detail {
namespace {

QByteArray codecName(int codePage) {
    switch (codePage) {
    case 437:
    case 850:
    case 852:
    case 855:
    case 857:
    case 860:
    case 861:
    case 862:
    case 863:
    case 865:
    case 866:
    case 869:
        return "IBM" + QByteArray::number(codePage);
    case 932:
        return "windows-31j";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 10000:
        return "macintosh";
    case 10006:
        return "x-mac-greek";
    case 10007:
        return "x-mac-cyrillic";
    case 10029:
        return "x-mac-ce";
    case 10081:
        return "x-mac-turkish";
    case 20127:
        return "US-ASCII";
    case 28591:
        return "ISO-8859-1";
    case 65001:
        return "UTF-8";
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

} // namespace

int codePageOfCharset(int charset) {
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    default:
        return 0; // ANSI, default, symbol fonts and the rest: the document's code page
    }
}

bool isMultiByteCodePage(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

QStringDecoder& CodePageDecoder::decoderFor(int codePage) {
    auto found = _decoders.find(codePage);
    if (found != _decoders.end())
        return found->second;
    QStringDecoder decoder(codecName(codePage).constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        decoder = QStringDecoder("windows-1252", QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) // a Qt without ICU still has Latin-1
        decoder = QStringDecoder(QStringConverter::Latin1, QStringConverter::Flag::Stateless);
    return _decoders.emplace(codePage, std::move(decoder)).first->second;
}

QString CodePageDecoder::decode(int codePage, const QByteArray& bytes) {
    QStringDecoder& decoder = decoderFor(codePage);
    decoder.resetState();
    return decoder.decode(bytes);
}

} // namespace Rtf::detail
