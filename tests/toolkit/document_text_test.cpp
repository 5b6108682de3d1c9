// The big text box holds a file's bytes exactly, however large, and types after them with
// the file's own line ends.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <string>

#include "toolkit/qt/document_edit.h"

namespace {

using toolkit::qt::DocumentEdit;

// Some megabytes of CR LF lines with every byte value in them, lone CRs and LFs too, and a
// CR LF split across every power-of-two boundary, where a loader working by pieces cuts.
std::string LargeText(bool asciiEveryOtherMegabyte) {
    std::string text;
    for (size_t boundary = 1024; boundary <= (size_t{4} << 20); boundary *= 2) {
        for (int n = 0; text.size() + 80 < boundary - 1; ++n) {
            const char c = static_cast<char>(n % 256 == '\r' || n % 256 == '\n' ? 'x' : n % 256);
            const bool ascii = asciiEveryOtherMegabyte && (text.size() >> 20) % 2 == 1;
            text += "line " + std::to_string(n) + " " + (ascii && (c & 0x80) ? 'h' : c);
            text += n % 50 == 49 ? "\r" : n % 51 == 50 ? "\n" : "\r\n";
        }
        text.append(boundary - 1 - text.size(), 'p');
        text += "\r\n";  // the CR is the last byte before the boundary
    }
    return text;
}

// Compared by hand: gtest's diff of megabytes is too large to hold.
testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected)
        return testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return testing::AssertionFailure()
           << "sizes " << actual.size() << " and " << expected.size() << ", first difference at "
           << at << ": \"" << actual.substr(at, 20) << "\"";
}

long Lines(const std::string& text) {
    long lines = 1;
    for (size_t i = 0; i < text.size(); ++i)
        lines +=
            text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
    return lines;
}

TEST(DocumentText, HoldsTheBytesAndTypesWithTheFilesOwnLineEnds) {
    const std::string large = LargeText(false);
    const struct {
        std::string before, text;
        QString typed;  // "\n" is Enter
        std::string added;
    } cases[] = {
        {"", large, "a\n\u00E9", "a\r\n\xE9"},
        {"", LargeText(true), "", ""},
        {large, "a\nb\n", "\n", "\n"},
        {"", "x\r\ny", "\n", "\r\n"},
        {"", "x\ry", "\n", "\r"},
        {"", "no line end", "\n", "\r\n"},
        {large, "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        DocumentEdit edit(nullptr);
        edit.SetAnsiText(c.before);
        edit.SetAnsiText(c.text);
        EXPECT_TRUE(SameBytes(edit.AnsiContent().bytes, c.text));
        EXPECT_EQ(edit.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT), Lines(c.text));
        edit.SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
        for (QChar typed : c.typed) {
            const bool enter = typed == '\n';
            QKeyEvent press(QEvent::KeyPress, enter ? Qt::Key_Return : Qt::Key_A, Qt::NoModifier,
                            enter ? QString() : QString(typed));
            QApplication::sendEvent(&edit, &press);
        }
        EXPECT_TRUE(SameBytes(edit.AnsiContent().bytes, c.text + c.added));
    }
}

TEST(DocumentText, ACharacterOutsideTheCodePageIsNamedAndNoBytesAreGiven) {
    DocumentEdit edit(nullptr);
    edit.SetAnsiText("abc");
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral(u"\u4E2D"));
    QApplication::sendEvent(&edit, &press);
    const toolkit::AnsiText text = edit.AnsiContent();
    EXPECT_EQ(text.refusal, codepage::Refusal::Unencodable(U'\u4E2D'));
    EXPECT_TRUE(text.bytes.empty());
}

}  // namespace
