#include "InterfaceTexts.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

namespace {
struct Token {
    enum Kind { Identifier, String, Punctuation };
    Kind kind;
    QString text; // a string literal's value, escapes resolved
    int line;
};

bool isIdentifierChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Splits C++ into identifiers, string literals and punctuation; comments, character literals,
// numbers and preprocessor lines are dropped.
class Lexer {
public:
    explicit Lexer(const QString& code) : _code(code) {}

    QList<Token> tokens() {
        bool lineStart = true;
        while (_at < _code.size()) {
            const QChar c = _code[_at];
            if (c == QLatin1Char('\n')) {
                ++_line;
                ++_at;
                lineStart = true;
                continue;
            }
            if (c.isSpace()) {
                ++_at;
                continue;
            }
            if (lineStart && c == QLatin1Char('#')) {
                skipDirective();
                continue;
            }
            lineStart = false;
            if (startsWith("//")) {
                while (_at < _code.size() && _code[_at] != QLatin1Char('\n'))
                    ++_at;
            } else if (startsWith("/*")) {
                skipBlockComment();
            } else if (c == QLatin1Char('"')) {
                _tokens.append({Token::String, quoted(), _line});
            } else if (c == QLatin1Char('\'')) {
                skipCharacterLiteral();
            } else if (isIdentifierChar(c)) {
                identifierOrPrefixedString();
            } else if (startsWith("::") || startsWith("->")) {
                _tokens.append({Token::Punctuation, _code.mid(_at, 2), _line});
                _at += 2;
            } else {
                _tokens.append({Token::Punctuation, QString(c), _line});
                ++_at;
            }
        }
        return _tokens;
    }

private:
    bool startsWith(const char* text) const {
        return QStringView(_code).mid(_at).startsWith(QLatin1String(text));
    }

    void skipDirective() {
        while (_at < _code.size() && _code[_at] != QLatin1Char('\n')) {
            if (_code[_at] == QLatin1Char('\\') && _at + 1 < _code.size() &&
                _code[_at + 1] == QLatin1Char('\n')) {
                ++_line;
                ++_at;
            }
            ++_at;
        }
    }

    void skipBlockComment() {
        _at += 2;
        while (_at < _code.size() && !startsWith("*/")) {
            if (_code[_at] == QLatin1Char('\n'))
                ++_line;
            ++_at;
        }
        _at += 2;
    }

    void skipCharacterLiteral() {
        ++_at;
        while (_at < _code.size() && _code[_at] != QLatin1Char('\'') &&
               _code[_at] != QLatin1Char('\n'))
            _at += _code[_at] == QLatin1Char('\\') ? 2 : 1;
        ++_at;
    }

    void identifierOrPrefixedString() {
        const qsizetype start = _at;
        while (_at < _code.size() && isIdentifierChar(_code[_at]))
            ++_at;
        const QString word = _code.mid(start, _at - start);
        const bool quoteFollows = _at < _code.size() && _code[_at] == QLatin1Char('"');
        static const QStringList prefixes = {"u8", "u", "U", "L"};
        if (quoteFollows && prefixes.contains(word)) {
            _tokens.append({Token::String, quoted(), _line});
        } else if (quoteFollows && word.endsWith(QLatin1Char('R')) &&
                   (word == QLatin1String("R") || prefixes.contains(word.chopped(1)))) {
            _tokens.append({Token::String, raw(), _line});
        } else {
            _tokens.append({Token::Identifier, word, _line});
        }
    }

    // An ordinary literal from its opening quote; the value as the compiler's UTF-8 bytes.
    QString quoted() {
        QByteArray bytes;
        ++_at;
        while (_at < _code.size() && _code[_at] != QLatin1Char('"')) {
            const QChar c = _code[_at];
            if (c == QLatin1Char('\n'))
                break; // unterminated; the compiler would have refused it
            if (c != QLatin1Char('\\')) {
                bytes += QString(c).toUtf8();
                ++_at;
                continue;
            }
            escape(bytes);
        }
        ++_at;
        return QString::fromUtf8(bytes);
    }

    void escape(QByteArray& bytes) {
        ++_at;
        if (_at >= _code.size())
            return;
        const QChar c = _code[_at++];
        static const QString simple = QStringLiteral("ntrabfv");
        static const char simpleValues[] = "\n\t\r\a\b\f\v";
        if (const qsizetype i = simple.indexOf(c); i >= 0) {
            bytes += simpleValues[i];
        } else if (c == QLatin1Char('x')) {
            bytes += char(number(16, 2));
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('7')) {
            --_at;
            bytes += char(number(8, 3));
        } else if (c == QLatin1Char('u') || c == QLatin1Char('U')) {
            const char32_t code = char32_t(number(16, c == QLatin1Char('u') ? 4 : 8));
            bytes += QString::fromUcs4(&code, 1).toUtf8();
        } else {
            bytes += QString(c).toUtf8(); // \" \\ \' \?
        }
    }

    uint number(int base, int most) {
        uint value = 0;
        for (int digits = 0; digits < most && _at < _code.size(); ++digits) {
            const int digit = QString(_code[_at]).toInt(nullptr, base);
            if (digit == 0 && _code[_at] != QLatin1Char('0'))
                break;
            value = value * uint(base) + uint(digit);
            ++_at;
        }
        return value;
    }

    QString raw() {
        const qsizetype open = _code.indexOf(QLatin1Char('('), _at);
        const QString closing = QLatin1Char(')') + _code.mid(_at + 1, open - _at - 1) + '"';
        const qsizetype close = _code.indexOf(closing, open);
        const QString value = _code.mid(open + 1, close - open - 1);
        _line += int(value.count(QLatin1Char('\n')));
        _at = close < 0 ? _code.size() : close + closing.size();
        return value;
    }

    const QString& _code;
    qsizetype _at = 0;
    int _line = 1;
    QList<Token> _tokens;
};

// Walks the tokens keeping track of the class whose members are being defined, since that
// class is the context of a bare tr().
class CallFinder {
public:
    CallFinder(QList<Token> tokens, QString fileName, QString freeContext)
        : _tokens(std::move(tokens)), _fileName(std::move(fileName)),
          _freeContext(std::move(freeContext)) {}

    QList<InterfaceText> texts() {
        for (qsizetype i = 0; i < _tokens.size(); ++i) {
            const Token& token = _tokens[i];
            if (token.kind == Token::Punctuation) {
                punctuation(i);
                continue;
            }
            if (token.kind != Token::Identifier)
                continue;
            static const QStringList translating = {"Q_OBJECT", "Q_GADGET",
                                                    "Q_DECLARE_TR_FUNCTIONS"};
            if (current().scope == Scope::Class && translating.contains(token.text))
                _translatingClasses.insert(current().context);
            if (!isPunctuation(i + 1, "("))
                continue;
            if (token.text == QLatin1String("BVLocalizedString"))
                keys(i);
            else if (token.text == QLatin1String("tr") || token.text == "QT_TR_NOOP")
                trCall(i);
            else if (token.text == QLatin1String("translate") ||
                     token.text == QLatin1String("QT_TRANSLATE_NOOP"))
                translateCall(i);
        }
        return _texts;
    }

private:
    enum class Scope { Outer, Class, Body };
    struct Level {
        Scope scope;
        QString context;
    };
    using Argument = QList<Token>;

    bool isPunctuation(qsizetype i, const char* text) const {
        return i >= 0 && i < _tokens.size() && _tokens[i].kind == Token::Punctuation &&
               _tokens[i].text == QLatin1String(text);
    }
    bool isIdentifier(qsizetype i, const char* text) const {
        return i >= 0 && i < _tokens.size() && _tokens[i].kind == Token::Identifier &&
               _tokens[i].text == QLatin1String(text);
    }

    Level current() const {
        return _levels.isEmpty() ? Level{Scope::Outer, QString()} : _levels.last();
    }

    void punctuation(qsizetype i) {
        const QString& text = _tokens[i].text;
        if (text == QLatin1String("{")) {
            _levels.append(opened(i));
            _headerStart = i + 1;
        } else if (text == QLatin1String("}")) {
            if (!_levels.isEmpty())
                _levels.removeLast();
            _headerStart = i + 1;
        } else if (text == QLatin1String(";")) {
            _headerStart = i + 1;
        }
    }

    // What the brace at i opens, judged from the declaration in front of it.
    Level opened(qsizetype brace) const {
        const Level outer = current();
        if (outer.scope == Scope::Body)
            return outer;
        qsizetype typeKeyword = -1;
        qsizetype firstParen = -1;
        for (qsizetype j = _headerStart; j < brace; ++j) {
            if (isIdentifier(j, "namespace"))
                return outer;
            if (isIdentifier(j, "enum"))
                return {Scope::Body, outer.context};
            if ((isIdentifier(j, "class") || isIdentifier(j, "struct")) && firstParen < 0)
                typeKeyword = j;
            if (isPunctuation(j, "(") && firstParen < 0)
                firstParen = j;
        }
        const QString prefix = outer.context.isEmpty() ? QString() : outer.context + "::";
        if (typeKeyword >= 0 && firstParen < 0 && typeKeyword + 1 < brace) {
            _classesHere.insert(prefix + _tokens[typeKeyword + 1].text);
            return {Scope::Class, prefix + _tokens[typeKeyword + 1].text};
        }
        if (outer.scope == Scope::Class || firstParen < 0)
            return {Scope::Body, outer.context.isEmpty() ? _freeContext : outer.context};
        // A function defined outside its class: "QString Foo::bar(" belongs to Foo.
        const QString qualifier = qualifierBefore(firstParen - 1);
        return {Scope::Body, qualifier.isEmpty() ? _freeContext : prefix + qualifier};
    }

    // The "A::B" in front of the name at i, when there is one.
    QString qualifierBefore(qsizetype name) const {
        QStringList parts;
        for (qsizetype j = name - 1;
             isPunctuation(j, "::") && j - 1 >= 0 && _tokens[j - 1].kind == Token::Identifier;
             j -= 2)
            parts.prepend(_tokens[j - 1].text);
        return parts.join(QLatin1String("::"));
    }

    // The arguments of the call whose name is at i, split at top-level commas.
    QList<Argument> arguments(qsizetype name) const {
        QList<Argument> result{Argument()};
        int depth = 0;
        for (qsizetype j = name + 1; j < _tokens.size(); ++j) {
            const Token& token = _tokens[j];
            const bool opens =
                isPunctuation(j, "(") || isPunctuation(j, "{") || isPunctuation(j, "[");
            const bool closes =
                isPunctuation(j, ")") || isPunctuation(j, "}") || isPunctuation(j, "]");
            depth += opens ? 1 : closes ? -1 : 0;
            if (depth == 0)
                break;
            if (opens && depth == 1)
                continue;
            if (depth == 1 && isPunctuation(j, ","))
                result.append(Argument());
            else
                result.last().append(token);
        }
        return result;
    }

    // Adjacent literals are one text, as the compiler joins them.
    static QStringList literalRuns(const Argument& argument) {
        QStringList runs;
        bool previousWasString = false;
        for (const Token& token : argument) {
            if (token.kind == Token::String) {
                if (previousWasString)
                    runs.last() += token.text;
                else
                    runs.append(token.text);
            }
            previousWasString = token.kind == Token::String;
        }
        return runs;
    }

    static bool onlyLiterals(const Argument& argument) {
        return !argument.isEmpty() &&
               std::all_of(argument.begin(), argument.end(),
                           [](const Token& token) { return token.kind == Token::String; });
    }

    void add(const QString& context, const QString& source, bool counted, qsizetype at) {
        _texts.append({context, source, counted,
                       QStringLiteral("%1:%2").arg(_fileName).arg(_tokens[at].line)});
    }

    void keys(qsizetype i) {
        const QList<Argument> args = arguments(i);
        // Every literal of the key argument counts, so `playing ? "Pause" : "Play"` gives both.
        for (const QString& key : literalRuns(args.first()))
            add(QStringLiteral("Localizable"), key, args.size() > 1, i);
    }

    void trCall(qsizetype i) {
        const QList<Argument> args = arguments(i);
        if (!onlyLiterals(args.first()))
            return; // a declaration, or a text chosen at run time
        QString context = qualifierBefore(i);
        if (context.isEmpty())
            context = current().context;
        // A class of this file without tr() of its own finds the file's tr().
        if (context.isEmpty() ||
            (_classesHere.contains(context) && !_translatingClasses.contains(context)))
            context = _freeContext;
        add(context, literalRuns(args.first()).first(), args.size() > 2, i);
    }

    void translateCall(qsizetype i) {
        const QList<Argument> args = arguments(i);
        if (args.size() < 2 || !onlyLiterals(args[0]) || !onlyLiterals(args[1]))
            return;
        add(literalRuns(args[0]).first(), literalRuns(args[1]).first(), args.size() > 3, i);
    }

    QList<Token> _tokens;
    QString _fileName;
    QString _freeContext;
    QList<Level> _levels;
    mutable QSet<QString> _classesHere;
    QSet<QString> _translatingClasses;
    qsizetype _headerStart = 0;
    QList<InterfaceText> _texts;
};

QString readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}
} // namespace

QList<InterfaceText> InterfaceTexts::fromCpp(const QString& code, const QString& fileName) {
    // A file may define its own tr() for free functions, forwarding to one context.
    static const QRegularExpression ownTr(
        QStringLiteral(R"(\btr\s*\([^)]*\)\s*\{\s*return\s+(?:QCoreApplication::)?translate\()"
                       R"(\s*"([^"]+)\")"));
    const QString freeContext = ownTr.match(code).captured(1);
    return CallFinder(Lexer(code).tokens(), fileName, freeContext).texts();
}

QList<InterfaceText> InterfaceTexts::fromForm(const QString& xml, const QString& fileName) {
    QList<InterfaceText> texts;
    QString form;
    QXmlStreamReader reader(xml);
    int depth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement())
            --depth;
        if (!reader.isStartElement())
            continue;
        ++depth;
        if (depth == 2 && reader.name() == QLatin1String("class") && form.isEmpty()) {
            form = reader.readElementText();
            --depth;
        } else if (reader.name() == QLatin1String("string")) {
            const bool untranslated = reader.attributes().value("notr") == QLatin1String("true");
            const QString where = QStringLiteral("%1:%2").arg(fileName).arg(reader.lineNumber());
            const QString text = reader.readElementText();
            --depth;
            if (!untranslated && !text.isEmpty())
                texts.append({form, text, false, where});
        }
    }
    if (reader.hasError())
        texts.append({QString(), QStringLiteral("(unreadable form)"), false, fileName});
    return texts;
}

QMap<QString, QStringList> InterfaceTexts::menusOfForm(const QString& xml) {
    QMap<QString, QString> texts; // action or submenu name -> its text or title
    QMap<QString, QStringList> items;
    QStringList menus; // the menus the reader is inside, innermost last
    QStringList elements;
    QString owner; // the action or widget whose properties are being read
    QString property;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement()) {
            if (elements.takeLast() == QLatin1String("menu"))
                menus.removeLast();
            continue;
        }
        if (!reader.isStartElement())
            continue;
        const auto attributes = reader.attributes();
        const QString name = attributes.value("name").toString();
        const QString className = attributes.value("class").toString();
        QString kind = reader.name().toString();
        if (kind == QLatin1String("widget") || kind == QLatin1String("action"))
            owner = name;
        if (kind == QLatin1String("widget") &&
            (className == QLatin1String("QMenu") || className == QLatin1String("QMenuBar"))) {
            kind = QStringLiteral("menu");
            menus.append(name);
        } else if (kind == QLatin1String("property")) {
            property = name;
        } else if (kind == QLatin1String("addaction") && !menus.isEmpty()) {
            items[menus.last()].append(name);
        } else if (kind == QLatin1String("string") &&
                   (property == QLatin1String("text") || property == QLatin1String("title"))) {
            texts.insert(owner, reader.readElementText());
            continue; // readElementText consumed the end element
        }
        elements.append(kind);
    }
    QMap<QString, QStringList> result;
    for (auto menu = items.cbegin(); menu != items.cend(); ++menu) {
        for (const QString& item : menu.value()) {
            if (texts.contains(item))
                result[menu.key()].append(texts.value(item));
        }
    }
    return result;
}

QList<InterfaceText> InterfaceTexts::fromTree(const QString& folder) {
    QList<InterfaceText> texts;
    QDirIterator files(folder, {"*.cpp", "*.h", "*.ui"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString name = path.mid(folder.size() + 1);
        texts += path.endsWith(QLatin1String(".ui")) ? fromForm(readAll(path), name)
                                                     : fromCpp(readAll(path), name);
    }
    return texts;
}

QMap<QString, TranslationEntry> TranslationSource::read(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    QMap<QString, TranslationEntry> entries;
    QXmlStreamReader reader(&file);
    QString context;
    QString source;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("name")) {
            context = reader.readElementText();
        } else if (reader.name() == QLatin1String("source")) {
            source = reader.readElementText();
        } else if (reader.name() == QLatin1String("translation")) {
            TranslationEntry entry;
            entry.finished = reader.attributes().value("type").isEmpty();
            QString text;
            while (!reader.atEnd() && !(reader.readNext() == QXmlStreamReader::EndElement &&
                                        reader.name() == QLatin1String("translation"))) {
                if (reader.isCharacters())
                    text += reader.text();
                else if (reader.isStartElement())
                    entry.forms.append(reader.readElementText());
            }
            if (entry.forms.isEmpty())
                entry.forms.append(text);
            entries.insert(context + QLatin1Char('|') + source, entry);
        }
    }
    if (reader.hasError()) {
        *error = reader.errorString();
        return {};
    }
    return entries;
}
