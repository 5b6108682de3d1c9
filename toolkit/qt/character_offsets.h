// Character offsets in a QScintilla document held as UTF-8, counted as Qt's accessibility
// counts them (UTF-16 code units; one per character of the ANSI code page).
#pragma once

#include <Qsci/qsciscintillabase.h>

#include <QString>

namespace toolkit::qt {

// Converts through Scintilla's per-line character index, so a conversion costs a search
// among the lines plus a walk within one line, never a count from the start of the buffer.
// The index is built on first use only: without a screen reader nobody asks, and a large
// document neither loads slower nor takes more memory for it.
class CharacterOffsets {
  public:
    explicit CharacterOffsets(QsciScintillaBase* editor) : editor_(editor) {}
    ~CharacterOffsets();
    CharacterOffsets(const CharacterOffsets&) = delete;
    CharacterOffsets& operator=(const CharacterOffsets&) = delete;

    int OffsetOf(long position) const;
    // Offsets beyond either end are clamped to it.
    long PositionOf(int offset) const;
    int Count() const;

    // The index belongs to the document: a new one is indexed afresh when asked.
    void DocumentReplaced() { indexed_ = false; }

    // The text between two byte positions, as Qt text.
    QString TextBetween(long from, long to) const;

  private:
    void EnsureIndex() const;

    QsciScintillaBase* editor_;
    mutable bool indexed_ = false;
};

}  // namespace toolkit::qt
