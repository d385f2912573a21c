#include "InterfaceTexts.h"
#include "platform/foundation/LocalizedString.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {
const QString kSourceDir = QStringLiteral(BREVOIR_SOURCE_DIR);

QSet<QString> placeholders(const QString& text) {
    static const QRegularExpression argument(QStringLiteral("%[1-9]"));
    QSet<QString> found;
    for (const auto& match : argument.globalMatch(text))
        found.insert(match.captured());
    return found;
}

// "&File" marks F as the mnemonic; "&&" is a literal ampersand.
qsizetype mnemonics(const QString& text) {
    return text.count(QLatin1Char('&')) - 2 * text.count(QLatin1String("&&"));
}

struct Found {
    QString context;
    QString source;
    bool counted;
    friend bool operator==(const Found&, const Found&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Found& f) {
        return out << qPrintable(f.context) << "|" << qPrintable(f.source)
                   << (f.counted ? " (counted)" : "");
    }
};

std::vector<Found> found(const QList<InterfaceText>& texts) {
    std::vector<Found> result;
    for (const InterfaceText& text : texts)
        result.push_back({text.context, text.source, text.counted});
    return result;
}
} // namespace

// The completeness check below is only as good as the scan, so the scan is held to what the
// compiler and Qt make of the code.
TEST(InterfaceTexts, AreFoundAsTheCompilerJoinsThemAndQtLooksThemUp) {
    const QString code = QStringLiteral(R"cpp(
#include "BVLocalizedString(\"NotAText\").h"
namespace {
QString tr(const char* text) { return QCoreApplication::translate("Helpers", text); }
QString helper() { return tr("Free " "function"); }
}
// BVLocalizedString("InAComment")
/* tr("In a block comment") */
class Panel : public QWidget {
    Q_DECLARE_TR_FUNCTIONS(Panel)
    void inlineMember() { label->setText(tr("Say \"hi\"\\now")); }
    enum class Mode { A, B };
};
QString Panel::title() const {
    connect(a, &QAction::triggered, this, [this] { setTitle(tr("In a lambda")); });
    const char quote = '"';
    return BVLocalizedString(playing ? "Pause" : "Play") + BVLocalizedString("Copying",
        count) + QObject::tr("Explicit") + BVLocalizedString("Split"
        "Key").arg(quote);
}
void Panel::counted(int n) { tr("%n file(s)", nullptr, n); tr(variable); }
struct Plain { void f(); };
void Plain::f() { tr("Plain member"); }
)cpp");
    const std::vector<Found> expected = {
        {"Helpers", "Free function", false}, {"Panel", "Say \"hi\"\\now", false},
        {"Panel", "In a lambda", false},     {"Localizable", "Pause", false},
        {"Localizable", "Play", false},      {"Localizable", "Copying", true},
        {"QObject", "Explicit", false},      {"Localizable", "SplitKey", false},
        {"Panel", "%n file(s)", true},       {"Helpers", "Plain member", false},
    };
    EXPECT_EQ(found(InterfaceTexts::fromCpp(code, "panel.cpp")), expected);

    const QString form = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>TimerWindow</class>
 <widget class="QDialog" name="TimerWindow">
  <property name="windowTitle"><string>Timer</string></property>
  <widget class="QLabel"><property name="text"><string notr="true">00</string></property></widget>
  <widget class="QCheckBox"><property name="text"><string>Timer &amp;on</string></property></widget>
 </widget>
 <customwidgets><customwidget><class>Other</class></customwidget></customwidgets>
</ui>)");
    EXPECT_EQ(
        found(InterfaceTexts::fromForm(form, "TimerWindow.ui")),
        (std::vector<Found>{{"TimerWindow", "Timer", false}, {"TimerWindow", "Timer &on", false}}));
}

TEST(Translations, EveryInterfaceTextIsTranslatedIntoEnglishGermanAndFrench) {
    const QList<InterfaceText> texts = InterfaceTexts::fromTree(kSourceDir + "/src");
    ASSERT_GT(texts.size(), 100);
    QString error;
    const auto english =
        TranslationSource::read(kSourceDir + "/resources/translations/brevoir_en.ts", &error);
    ASSERT_TRUE(error.isEmpty()) << qPrintable(error);

    QStringList problems;
    for (const char* language : {"en", "de", "fr"}) {
        const auto entries = TranslationSource::read(
            kSourceDir + "/resources/translations/brevoir_" + language + ".ts", &error);
        ASSERT_TRUE(error.isEmpty()) << language << ": " << qPrintable(error);
        QSet<QString> reported;
        for (const InterfaceText& text : texts) {
            if (reported.contains(text.key()))
                continue;
            reported.insert(text.key());
            const auto named = QStringLiteral("%1: %2 \"%3\" (%4)")
                                   .arg(language, text.context, text.source, text.where);
            const auto entry = entries.constFind(text.key());
            if (text.context.isEmpty()) {
                problems << named + " has no context Qt could look it up in";
            } else if (entry == entries.cend() || !entry->finished) {
                problems << named + " has no finished entry";
            } else if (std::any_of(entry->forms.begin(), entry->forms.end(),
                                   [](const QString& form) { return form.isEmpty(); })) {
                problems << named + " has an empty translation";
            } else {
                // Arguments and mnemonics are those of the English text (for a key, its
                // English translation).
                const auto englishEntry = english.constFind(text.key());
                const QString reference =
                    text.context == QLatin1String("Localizable") && englishEntry != english.cend()
                        ? englishEntry->forms.first()
                        : text.source;
                for (const QString& form : entry->forms) {
                    if (placeholders(form) != placeholders(reference))
                        problems << named + " has other arguments: " + form;
                    if (mnemonics(form) != mnemonics(reference))
                        problems << named + " has another mnemonic: " + form;
                }
            }
        }
    }
    EXPECT_TRUE(problems.isEmpty()) << problems.size() << " problems:\n"
                                    << qPrintable(problems.join(QLatin1Char('\n')));
}

TEST(Translations, MenuMnemonicsStayUniqueInEveryLanguage) {
    QDirIterator forms(kSourceDir + "/src", {"*.ui"}, QDir::Files, QDirIterator::Subdirectories);
    QStringList problems;
    int menusSeen = 0;
    while (forms.hasNext()) {
        QFile file(forms.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString xml = QString::fromUtf8(file.readAll());
        const QString form = InterfaceTexts::fromForm(xml, QString()).value(0).context;
        const auto menus = InterfaceTexts::menusOfForm(xml);
        menusSeen += int(menus.size());
        for (const char* language : {"en", "de", "fr"}) {
            QString error;
            const auto entries = TranslationSource::read(
                kSourceDir + "/resources/translations/brevoir_" + language + ".ts", &error);
            for (auto menu = menus.cbegin(); menu != menus.cend(); ++menu) {
                QMap<QChar, QString> taken;
                for (const QString& item : menu.value()) {
                    const auto entry = entries.constFind(form + QLatin1Char('|') + item);
                    const QString shown = entry == entries.cend() ? item : entry->forms.first();
                    static const QRegularExpression mnemonic(QStringLiteral("&([^&])"));
                    const QString letter = mnemonic.match(shown).captured(1).toLower();
                    if (letter.isEmpty())
                        continue;
                    if (taken.contains(letter[0]))
                        problems << QStringLiteral("%1: %2 %3: \"%4\" and \"%5\"")
                                        .arg(language, form, menu.key(), taken[letter[0]], shown);
                    taken.insert(letter[0], shown);
                }
            }
        }
    }
    EXPECT_GT(menusSeen, 3);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join(QLatin1Char('\n')));
}

TEST(Translations, TheLocaleChoosesGermanFrenchOrEnglish) {
    struct Case {
        const char* locale;
        QString deleteTitle;
        QString timerOn;
        QString copyingTwo;
        QString qtCancel; // a standard button of Qt's own dialogs
    };
    const QString english = QStringLiteral("Delete the selected recordings?");
    const QString german = QStringLiteral("Die ausgewählten Aufnahmen löschen?");
    const QString french = QStringLiteral("Supprimer les enregistrements sélectionnés ?");
    const QString englishCopying = QStringLiteral("Copying 2 recordings into the library…");
    const QString germanCopying = QStringLiteral("2 Aufnahmen werden in die Bibliothek kopiert …");
    const QString frenchCopying =
        QStringLiteral("Copie de 2 enregistrements dans la bibliothèque…");
    const Case cases[] = {
        {"de_DE", german, "Timer an", germanCopying, "Abbrechen"},
        {"de_AT", german, "Timer an", germanCopying, "Abbrechen"},
        {"de_CH", german, "Timer an", germanCopying, "Abbrechen"},
        {"fr_FR", french, "Minuteur activé", frenchCopying, "Annuler"},
        {"fr_CA", french, "Minuteur activé", frenchCopying, "Annuler"},
        {"en_GB", english, "Timer on", englishCopying, "Cancel"},
        {"it_IT", english, "Timer on", englishCopying, "Cancel"},
        {"C", english, "Timer on", englishCopying, "Cancel"},
    };
    // Qt's own translations are a separate package; without it Qt's texts stay English.
    const bool qtTranslated =
        QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm");
    for (const Case& c : cases) {
        LocalizedStrings::install(QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(BVLocalizedString("DeleteDialog").toStdString(), c.deleteTitle.toStdString())
            << c.locale;
        EXPECT_EQ(QCoreApplication::translate("TimerWindow", "Timer on").toStdString(),
                  c.timerOn.toStdString())
            << c.locale;
        EXPECT_EQ(BVLocalizedString("CopyingIntoLibrary", 2).toStdString(),
                  c.copyingTwo.toStdString())
            << c.locale;
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(),
                  qtTranslated ? c.qtCancel.toStdString() : "Cancel")
            << c.locale;
        EXPECT_EQ(BVLocalizedString("NoSuchKeyAnywhere").toStdString(), "NoSuchKeyAnywhere")
            << c.locale;
    }
    LocalizedStrings::install(QLocale(QStringLiteral("en_US")));
}
