// The big text box holds a file's bytes exactly, however large, and types after them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <string>

#include "toolkit/qt/document_edit.h"

namespace {

using toolkit::qt::DocumentEdit;
using Sci = QsciScintillaBase;

// Some megabytes of CR LF lines with every byte value in them, lone CRs and LFs too, and a
// CR LF split across every power-of-two boundary, where a loader working by pieces cuts.
std::string LargeText(size_t* lineEnds) {
    std::string text;
    *lineEnds = 0;
    for (size_t boundary = 1024; boundary <= (size_t{4} << 20); boundary *= 2) {
        for (int n = 0; text.size() + 80 < boundary - 1; ++n) {
            text += "line " + std::to_string(n) + " ";
            text += static_cast<char>(n % 256 == '\r' || n % 256 == '\n' ? 'x' : n % 256);
            text += n % 50 == 49 ? "\r" : n % 51 == 50 ? "\n" : "\r\n";
            ++*lineEnds;
        }
        text.append(boundary - 1 - text.size(), 'p');
        text += "\r\n";  // the CR is the last byte before the boundary
        ++*lineEnds;
    }
    return text;
}

// Compared by hand: a failed EXPECT_EQ on megabytes makes gtest compute a diff too large
// to hold.
testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected)
        return testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return testing::AssertionFailure()
           << "sizes " << actual.size() << " and " << expected.size() << ", first difference at "
           << at << ": \"" << actual.substr(at, 20) << "\" instead of \"" << expected.substr(at, 20)
           << "\"";
}

void Type(DocumentEdit& edit, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&edit, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&edit, &release);
}

TEST(DocumentText, LargeTextIsHeldByteForByteWithItsLines) {
    DocumentEdit edit(nullptr);
    size_t lineEnds = 0;
    std::string text = LargeText(&lineEnds);
    edit.SetAnsiText(text);
    EXPECT_TRUE(SameBytes(edit.AnsiContent().bytes, text));
    EXPECT_EQ(edit.SendScintilla(Sci::SCI_GETLINECOUNT), static_cast<long>(lineEnds + 1));

    // Every other megabyte in ASCII alone: pieces that go in as they are between converted
    // ones.
    for (size_t at = 0; at < text.size(); ++at) {
        if ((at >> 20) % 2 == 1 && static_cast<unsigned char>(text[at]) >= 0x80)
            text[at] = 'h';
    }
    edit.SetAnsiText(text);
    EXPECT_TRUE(SameBytes(edit.AnsiContent().bytes, text));
    EXPECT_EQ(edit.SendScintilla(Sci::SCI_GETLINECOUNT), static_cast<long>(lineEnds + 1));
}

TEST(DocumentText, TypingAtTheEndOfALargeTextAddsExactlyTheKeys) {
    DocumentEdit edit(nullptr);
    size_t lineEnds = 0;
    const std::string text = LargeText(&lineEnds);
    edit.SetAnsiText(text);
    edit.SendScintilla(Sci::SCI_DOCUMENTEND);
    Type(edit, Qt::Key_A, QStringLiteral("a"));
    Type(edit, Qt::Key_Return, QString());
    Type(edit, Qt::Key_Eacute, QStringLiteral(u"\u00E9"));
    EXPECT_TRUE(SameBytes(edit.AnsiContent().bytes, text + "a\r\n\xE9"));
}

TEST(DocumentText, ASmallTextAfterALargeOneIsHeldExactly) {
    DocumentEdit edit(nullptr);
    size_t lineEnds = 0;
    edit.SetAnsiText(LargeText(&lineEnds));
    edit.SetAnsiText("a\nb\n");
    EXPECT_EQ(edit.AnsiContent().bytes, "a\nb\n");
    edit.SendScintilla(Sci::SCI_DOCUMENTEND);
    Type(edit, Qt::Key_Return, QString());
    EXPECT_EQ(edit.AnsiContent().bytes, "a\nb\n\n");
    edit.SetAnsiText("");
    EXPECT_EQ(edit.AnsiContent().bytes, "");
}

TEST(DocumentText, ACharacterOutsideTheCodePageIsNamedAndNoBytesAreGiven) {
    DocumentEdit edit(nullptr);
    size_t lineEnds = 0;
    edit.SetAnsiText(LargeText(&lineEnds));
    edit.SendScintilla(Sci::SCI_DOCUMENTEND);
    Type(edit, Qt::Key_unknown, QStringLiteral(u"\u4E2D"));
    const toolkit::AnsiText text = edit.AnsiContent();
    EXPECT_EQ(text.refusal, codepage::Refusal::Unencodable(U'\u4E2D'));
    EXPECT_TRUE(text.bytes.empty());
}

}  // namespace
