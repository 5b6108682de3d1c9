// The big text box: a file's bytes held exactly, however large, typing in the file's own line
// ends, and what a screen reader gets: offsets in characters while the box holds UTF-8.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <string>
#include <tuple>

#include "base/codepage/cp1252.h"
#include "toolkit/backend.h"
#include "toolkit/qt/document_edit.h"
#include "toolkit/qt/fonts.h"

namespace {

using Sci = QsciScintillaBase;

// "\n" is Enter, "\b" Backspace.
void Type(QWidget& edit, const QString& keys) {
    for (QChar key : keys) {
        const int code = key == '\n' ? Qt::Key_Return : key == '\b' ? Qt::Key_Backspace : Qt::Key_A;
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier,
                        code == Qt::Key_A ? key : QString());
        QApplication::sendEvent(&edit, &press);
    }
}

// Four megabytes holding every byte value, lone CRs and LFs among them, and a CR LF split
// across every power-of-two boundary, where a loader working by pieces cuts; or with ASCII
// only in every other megabyte.
std::string LargeText(bool asciiEveryOtherMegabyte) {
    std::string text((size_t{4} << 20) + 1, 'x');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(asciiEveryOtherMegabyte && (i >> 20) % 2 ? i % 128 : i % 256);
    for (size_t boundary = 1024; boundary < text.size(); boundary *= 2)
        text.replace(boundary - 1, 2, "\r\n");  // the CR is the last byte before the boundary
    return text;
}

TEST(DocumentText, HoldsTheBytesAndTypesWithTheFilesOwnLineEnds) {
    const std::string large = LargeText(false);
    const struct {
        std::string before, text;
        QString typed;  // "\n" is Enter
        std::string added;
    } cases[] = {
        {"", large, "a\n\u00E9", "a\n\xE9"},  // its first line end is an LF
        {"", LargeText(true), "", ""},
        {large, "", "\n", "\r\n"},  // no line end to follow: Windows' own
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        toolkit::qt::DocumentEdit edit(nullptr);
        edit.SetAnsiText(c.before);
        edit.SetAnsiText(c.text);
        // Compared by hand: gtest's diff of megabytes is too large to hold.
        EXPECT_TRUE(edit.AnsiContent().bytes == c.text);
        edit.SendScintilla(Sci::SCI_DOCUMENTEND);
        Type(edit, c.typed);
        EXPECT_TRUE(edit.AnsiContent().bytes == c.text + c.added);
    }
    toolkit::qt::DocumentEdit edit(nullptr);
    Type(edit, QStringLiteral(u"a\u4E2D"));  // outside the code page: named, and no bytes given
    EXPECT_EQ(edit.AnsiContent().refusal, codepage::Refusal::Unencodable(U'\u4E2D'));
    EXPECT_TRUE(edit.AnsiContent().bytes.empty());
}

// Characters of one, two and three UTF-8 bytes, an empty line, sentences, no final line end.
const std::string kText =
    "caf\xE9 \x80 10. Two words.\r\nline two\r\n\r\n\x93quoted\x94 na\xEFve end\r\nlast";

struct DocumentAccessibility : ::testing::Test {
    toolkit::qt::DocumentEdit edit{nullptr};
    QAccessibleInterface* accessible =
        (edit.SetAnsiText(kText), QAccessible::queryAccessibleInterface(&edit));
    QAccessibleTextInterface* text = accessible->textInterface();
};

TEST_F(DocumentAccessibility, OffsetsCountCharactersFindWhatQtFindsAndLandOnTheirBytes) {
    const QString whole = QString::fromUtf8(codepage::ToUtf8(kText));
    ASSERT_EQ(text->characterCount(), whole.size());
    EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    for (int offset = 0; offset <= whole.size(); ++offset)
        EXPECT_EQ(text->text(offset, offset + 2), whole.mid(offset, 2)) << offset;
    using A = QAccessible;
    const struct {
        char side;  // At, Before or After the offset
        A::TextBoundaryType boundary;
        int offset;
        std::string text;  // Qt's own answer for the whole text
        int start, end;
    } cases[] = {
        {'A', A::CharBoundary, 5, "\u20AC", 5, 6},
        {'A', A::WordBoundary, 44, "na\u00EFve", 44, 49},
        {'F', A::WordBoundary, 36, "\u201D ", 42, 44},
        {'B', A::WordBoundary, 59, "last", 55, 59},
        {'A', A::SentenceBoundary, 40, "\u201Cquoted\u201D na\u00EFve end\r\n", 35, 55},
        {'F', A::SentenceBoundary, 5, "Two words.\r\n", 11, 23},
        {'A', A::LineBoundary, 25, "line two\r\n", 23, 33},
        {'B', A::LineBoundary, 36, "\r\n", 33, 35},
        {'F', A::LineBoundary, 57, "", -1, -1},
        {'A', A::ParagraphBoundary, 57, "last", 55, 59},
        {'A', A::NoBoundary, 10, codepage::ToUtf8(kText), 0, 59},
    };
    for (const auto& c : cases) {
        int start = -2, end = -2;
        const QString found = c.side == 'A' ? text->textAtOffset(c.offset, c.boundary, &start, &end)
                              : c.side == 'B'
                                  ? text->textBeforeOffset(c.offset, c.boundary, &start, &end)
                                  : text->textAfterOffset(c.offset, c.boundary, &start, &end);
        EXPECT_EQ(std::tuple(found.toStdString(), start, end), std::tuple(c.text, c.start, c.end))
            << c.side << " offset " << c.offset << " boundary " << c.boundary;
    }
    // The caret, the selection and edits land on the bytes the characters are made of.
    edit.SendScintilla(Sci::SCI_GOTOPOS, 9);  // after "café €", 9 bytes of UTF-8
    EXPECT_EQ(text->cursorPosition(), 6);
    text->setCursorPosition(23);  // the start of "line two"
    EXPECT_EQ(edit.SendScintilla(Sci::SCI_GETCURRENTPOS), 23 + 3);
    text->setSelection(0, 3, 6);  // "é €" in characters, 3 to 9 in bytes
    int start = 0, end = 0;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::tuple(start, end, edit.SendScintilla(Sci::SCI_GETSELECTIONSTART),
                         edit.SendScintilla(Sci::SCI_GETSELECTIONEND)),
              std::tuple(3, 6, 3L, 9L));

    QAccessibleEditableTextInterface* editable = accessible->editableTextInterface();
    editable->insertText(4, QStringLiteral(u"\u00FC"));  // after "café"
    editable->replaceText(6, 7, QStringLiteral("EUR"));  // the euro sign
    editable->deleteText(0, 1);
    EXPECT_EQ(edit.AnsiContent().bytes, "af\xE9\xFC EUR" + kText.substr(6));
    edit.setReadOnly(true);
    editable->insertText(0, QStringLiteral("x"));
    EXPECT_EQ(edit.AnsiContent().bytes, "af\xE9\xFC EUR" + kText.substr(6));
}

// "inserted@offset text", "removed@...", "updated@..." and "caret@offset", as announced.
QStringList announced;

void Record(QAccessibleEvent* event) {
    if (auto* e = dynamic_cast<QAccessibleTextInsertEvent*>(event))
        announced << QString("inserted@%1 %2").arg(e->changePosition()).arg(e->textInserted());
    else if (auto* e = dynamic_cast<QAccessibleTextRemoveEvent*>(event))
        announced << QString("removed@%1 %2").arg(e->changePosition()).arg(e->textRemoved());
    else if (auto* e = dynamic_cast<QAccessibleTextUpdateEvent*>(event))
        announced << QString("updated@%1 %2").arg(e->changePosition()).arg(e->textInserted());
    else if (event->type() == QAccessible::TextCaretMoved)
        announced << QString("caret@%1")
                         .arg(static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition());
}

TEST_F(DocumentAccessibility, EditsAndCaretMovesAreAnnouncedInCharacters) {
    // Qt announces only while the platform reports an assistive technology; there is no public
    // switch, so reach the platform's flag through Qt's exported entry points.
    auto* integration = static_cast<void**>(
        dlsym(RTLD_DEFAULT, "_ZN22QGuiApplicationPrivate20platform_integrationE"));
    auto accessibilityOf = reinterpret_cast<void* (*)(const void*)>(
        dlsym(RTLD_DEFAULT, "_ZNK20QPlatformIntegration13accessibilityEv"));
    auto setActive = reinterpret_cast<void (*)(void*, bool)>(
        dlsym(RTLD_DEFAULT, "_ZN22QPlatformAccessibility9setActiveEb"));
    ASSERT_TRUE(integration && *integration && accessibilityOf && setActive);
    setActive(accessibilityOf(*integration), true);
    QAccessible::installUpdateHandler(Record);
    edit.show();
    edit.setFocus();
    const long utf8End = static_cast<long>(codepage::ToUtf8(kText).size());
    const struct {
        long selectFrom, selectTo;  // in bytes of UTF-8
        QString typed, expected;
    } cases[] = {
        {utf8End, utf8End, "x", "inserted@59 x|caret@60"},
        {9, 9, "\b", "removed@5 \u20AC|caret@5"},
        {31, 34, "z", "removed@28 two|inserted@28 z|caret@29"},  // over "two"
        {-1, -1, "", "updated@0 new \u00E9 text|caret@0"},       // the whole text replaced
    };
    for (const auto& c : cases) {
        edit.SetAnsiText(kText);
        edit.SendScintilla(Sci::SCI_SETSEL, c.selectFrom, c.selectTo);
        QApplication::processEvents();
        announced.clear();
        if (c.selectFrom < 0)
            edit.SetAnsiText("new \xE9 text");
        Type(edit, c.typed);
        edit.repaint();
        QApplication::processEvents();
        EXPECT_EQ(announced.join('|').toStdString(), c.expected.toStdString());
    }
    QAccessible::installUpdateHandler(nullptr);
}

// The Wine faces are there even when Qt had listed the fonts before the toolkit was made.
TEST(Fonts, WineFacesAreKnownWhenQtListedTheFontsFirst) {
    ASSERT_FALSE(QFontDatabase::families().isEmpty());
    const auto toolkit = toolkit::CreateToolkit();
    for (const char* face : {"Tahoma", "MS Sans Serif"})
        EXPECT_EQ(toolkit::qt::ResolveFace(face).toStdString(), face);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
