#include "toolkit/qt/character_offsets.h"

#include <QByteArray>
#include <algorithm>

namespace toolkit::qt {
namespace {

using Sci = QsciScintillaBase;
constexpr int kUtf16 = Sci::SC_LINECHARACTERINDEX_UTF16;

}  // namespace

CharacterOffsets::~CharacterOffsets() {
    if (indexed_)
        editor_->SendScintilla(Sci::SCI_RELEASELINECHARACTERINDEX, kUtf16);
}

void CharacterOffsets::EnsureIndex() const {
    if (indexed_)
        return;
    editor_->SendScintilla(Sci::SCI_ALLOCATELINECHARACTERINDEX, kUtf16);
    indexed_ = true;
}

int CharacterOffsets::OffsetOf(long position) const {
    EnsureIndex();
    const long length = editor_->SendScintilla(Sci::SCI_GETLENGTH);
    position = std::clamp(position, 0L, length);
    const long line = editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION, position);
    const long lineStart = editor_->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    return static_cast<int>(editor_->SendScintilla(Sci::SCI_INDEXPOSITIONFROMLINE, line, kUtf16) +
                            editor_->SendScintilla(Sci::SCI_COUNTCODEUNITS, lineStart, position));
}

long CharacterOffsets::PositionOf(int offset) const {
    EnsureIndex();
    if (offset <= 0)
        return 0;
    if (offset >= Count())
        return editor_->SendScintilla(Sci::SCI_GETLENGTH);
    const long line = editor_->SendScintilla(Sci::SCI_LINEFROMINDEXPOSITION, offset, kUtf16);
    const long lineOffset = editor_->SendScintilla(Sci::SCI_INDEXPOSITIONFROMLINE, line, kUtf16);
    const long lineStart = editor_->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    return editor_->SendScintilla(Sci::SCI_POSITIONRELATIVECODEUNITS, lineStart,
                                  static_cast<long>(offset) - lineOffset);
}

int CharacterOffsets::Count() const {
    EnsureIndex();
    const long lines = editor_->SendScintilla(Sci::SCI_GETLINECOUNT);
    return static_cast<int>(editor_->SendScintilla(Sci::SCI_INDEXPOSITIONFROMLINE, lines, kUtf16));
}

QString CharacterOffsets::TextBetween(long from, long to) const {
    if (to <= from)
        return {};
    // Copied around the gap of Scintilla's buffer, which stays where the user types.
    QByteArray bytes(static_cast<qsizetype>(to - from) + 1, Qt::Uninitialized);
    editor_->SendScintilla(Sci::SCI_GETTEXTRANGE, from, to, bytes.data());
    return QString::fromUtf8(bytes.constData(), static_cast<qsizetype>(to - from));
}

}  // namespace toolkit::qt
