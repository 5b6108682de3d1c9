#include "toolkit/qt/document_edit.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QKeyEvent>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "base/codepage/cp1252.h"
#include "base/memory/large_pages.h"
#include "toolkit/qt/document_accessible.h"
#include "toolkit/qt/document_announcer.h"

namespace toolkit::qt {
namespace {

// The line end a document uses, judged by its first one; Windows' own when it has none.
int EolModeOf(const std::string& bytes) {
    const size_t pos = bytes.find_first_of("\r\n");
    if (pos == std::string::npos)
        return QsciScintillaBase::SC_EOL_CRLF;
    if (bytes[pos] == '\n')
        return QsciScintillaBase::SC_EOL_LF;
    if (pos + 1 < bytes.size() && bytes[pos + 1] == '\n')
        return QsciScintillaBase::SC_EOL_CRLF;
    return QsciScintillaBase::SC_EOL_CR;
}

// Small enough that a converted piece stays in the cache on its way into the text box and
// adds little to the peak of memory while the file's bytes and the text box's buffer coexist.
constexpr size_t kLoadPiece = size_t{128} << 10;
constexpr size_t kRoomForTyping = 64 * 1024;

}  // namespace

DocumentEdit::DocumentEdit(QWidget* parent) : QsciScintilla(parent) {
    InstallDocumentAccessibility();
    UseDocumentWithoutStyles();
    setUtf8(true);
    setWrapMode(WrapNone);
    setFolding(NoFoldStyle);
    setAutoIndent(false);
    setBraceMatching(NoBraceMatch);
    setAutoCompletionSource(AcsNone);
    setCallTipsStyle(CallTipsNone);
    for (int margin = 0; margin < 5; ++margin) setMarginWidth(margin, 0);
    SendScintilla(SCI_SETHSCROLLBAR, 1);
    SendScintilla(SCI_SETVSCROLLBAR, 1);
    SendScintilla(SCI_SETSCROLLWIDTH, 1);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);
    // Like an edit box with both scroll bars: they stay, inactive while nothing scrolls.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SendScintilla(SCI_SETEOLMODE, SC_EOL_CRLF);
    // Dropping a selection moves text only within this box; no rectangular selections.
    SendScintilla(SCI_SETMULTIPLESELECTION, 0);
    SendScintilla(SCI_SETRECTANGULARSELECTIONMODIFIER, SCMOD_NORM);
    SendScintilla(SCI_SETMOUSESELECTIONRECTANGULARSWITCH, 0);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    BindPlainEditKeys();
    announcer_ = new DocumentAnnouncer(this, offsets_);
    // QScintilla counts the characters from the start of the buffer for every insertion and
    // deletion it is told of, to tell accessibility: 0.4 s for a key typed at the end of a
    // 50 MB file, screen reader or not. Tell it only of what the announcer needs.
    SendScintilla(SCI_SETMODEVENTMASK, DocumentAnnouncer::kModificationEvents);
}

DocumentEdit::~DocumentEdit() {
    // QScintilla may still signal while it is taken down, after offsets_ are gone.
    delete announcer_;
}

void DocumentEdit::UseDocumentWithoutStyles() {
    // Without a lexer all text has one style: a document that keeps no style byte for every
    // byte of text needs half the memory. Set before the code page and line-end mode, which
    // belong to the document.
    const long document = SendScintilla(SCI_CREATEDOCUMENT, 0, SC_DOCUMENTOPTION_STYLES_NONE);
    SendScintilla(SCI_SETDOCPOINTER, 0, document);
    SendScintilla(SCI_RELEASEDOCUMENT, 0, document);
}

void DocumentEdit::BindPlainEditKeys() {
    // QScintilla binds many programmer's shortcuts (duplicate line, transpose, zoom ...);
    // keep only what a plain edit box offers.
    const QList<int> keep = {SCI_LINEDOWN,      SCI_LINEDOWNEXTEND,
                             SCI_LINEUP,        SCI_LINEUPEXTEND,
                             SCI_CHARLEFT,      SCI_CHARLEFTEXTEND,
                             SCI_CHARRIGHT,     SCI_CHARRIGHTEXTEND,
                             SCI_WORDLEFT,      SCI_WORDLEFTEXTEND,
                             SCI_WORDRIGHT,     SCI_WORDRIGHTEXTEND,
                             SCI_VCHOME,        SCI_VCHOMEEXTEND,
                             SCI_LINEEND,       SCI_LINEENDEXTEND,
                             SCI_DOCUMENTSTART, SCI_DOCUMENTSTARTEXTEND,
                             SCI_DOCUMENTEND,   SCI_DOCUMENTENDEXTEND,
                             SCI_PAGEUP,        SCI_PAGEUPEXTEND,
                             SCI_PAGEDOWN,      SCI_PAGEDOWNEXTEND,
                             SCI_DELETEBACK,    SCI_CLEAR,
                             SCI_DELWORDLEFT,   SCI_DELWORDRIGHT,
                             SCI_NEWLINE,       SCI_UNDO,
                             SCI_REDO,          SCI_CUT,
                             SCI_COPY,          SCI_PASTE,
                             SCI_SELECTALL,     SCI_EDITTOGGLEOVERTYPE};
    for (QsciCommand* command : standardCommands()->commands()) {
        if (!keep.contains(static_cast<int>(command->command()))) {
            command->setKey(0);
            command->setAlternateKey(0);
        }
    }
}

void DocumentEdit::keyPressEvent(QKeyEvent* event) {
    // As in a dialog's edit box: Tab moves the focus on, Ctrl+Tab types a tab.
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->key() == Qt::Key_Tab && !ctrl) {
        QWidget::focusNextPrevChild(true);
        return;
    }
    if (event->key() == Qt::Key_Backtab && !ctrl) {
        QWidget::focusNextPrevChild(false);
        return;
    }
    if (event->key() == Qt::Key_Tab && ctrl) {
        SendScintilla(SCI_REPLACESEL, "\t");
        return;
    }
    QsciScintilla::keyPressEvent(event);
}

void DocumentEdit::SetDisplayFont(QFont font) {
    // Points at the box's own dots per inch come back as the same pixels when it draws.
    if (font.pixelSize() > 0)
        font.setPointSizeF(font.pixelSize() * 72.0 / logicalDpiY());
    setFont(font);
}

std::uint64_t DocumentEdit::TextSize(std::string_view bytes) {
    return codepage::Utf8LengthBound(bytes);
}

void DocumentEdit::SetAnsiText(const std::string& bytes) {
    // Sized by pieces, each marked when it needs converting: one pass over the bytes.
    const std::string_view all(bytes);
    std::uint64_t size = 0;
    std::vector<bool> converted;
    for (size_t pos = 0; pos < all.size(); pos += kLoadPiece) {
        const std::string_view piece = all.substr(pos, kLoadPiece);
        const std::uint64_t pieceSize = codepage::Utf8LengthBound(piece);
        converted.push_back(pieceSize != piece.size());
        size += pieceSize;
    }
    if (size > kTextCapacity)
        throw std::length_error("the text box cannot hold the text");
    announcer_->BeginReplacingAll();
    // The text goes into a fresh document, which replaces the shown one only once it is
    // whole: when memory runs out on the way, the box keeps what it had.
    const long shown = SendScintilla(SCI_GETDOCPOINTER);
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    const long anchor = SendScintilla(SCI_GETANCHOR);
    const long firstLine = SendScintilla(SCI_GETFIRSTVISIBLELINE);
    const long xOffset = SendScintilla(SCI_GETXOFFSET);
    SendScintilla(SCI_ADDREFDOCUMENT, 0, shown);
    try {
        const long fresh = SendScintilla(SCI_CREATEDOCUMENT, 0, SC_DOCUMENTOPTION_STYLES_NONE);
        if (fresh == 0)
            throw std::bad_alloc();
        SendScintilla(SCI_SETDOCPOINTER, 0, fresh);
        SendScintilla(SCI_RELEASEDOCUMENT, 0, fresh);
        offsets_.DocumentReplaced();
        LoadIntoShownDocument(bytes, size, converted);
    } catch (...) {
        SendScintilla(SCI_SETDOCPOINTER, 0, shown);
        SendScintilla(SCI_RELEASEDOCUMENT, 0, shown);
        SendScintilla(SCI_SETSTATUS, SC_STATUS_OK);
        offsets_.DocumentReplaced();
        SendScintilla(SCI_SETSEL, anchor, caret);
        SendScintilla(SCI_SETFIRSTVISIBLELINE, firstLine);
        SendScintilla(SCI_SETXOFFSET, xOffset);
        announcer_->EndReplacingAll();
        throw;
    }
    SendScintilla(SCI_RELEASEDOCUMENT, 0, shown);
    SendScintilla(SCI_GOTOPOS, 0);
    announcer_->EndReplacingAll();
}

void DocumentEdit::ThrowOnFailure() {
    // Scintilla keeps its own failures as a status instead of throwing them.
    const long status = SendScintilla(SCI_GETSTATUS);
    if (status == SC_STATUS_BADALLOC)
        throw std::bad_alloc();
    if (status != SC_STATUS_OK)
        throw std::runtime_error("the text box could not take the text");
}

void DocumentEdit::LoadIntoShownDocument(const std::string& bytes, std::uint64_t size,
                                         const std::vector<bool>& converted) {
    SendScintilla(SCI_SETCODEPAGE, SC_CP_UTF8);
    SendScintilla(SCI_SETEOLMODE, EolModeOf(bytes));
    SendScintilla(SCI_SETUNDOCOLLECTION, 0);
    // Big enough once: for the text, and for typing without moving the whole buffer at the
    // first keys.
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(size + kRoomForTyping));
    ThrowOnFailure();
    // By pieces: a piece in ASCII goes in as it is, any other is converted into one buffer
    // used for every piece, so the text never exists in full as UTF-8 beside the caller's
    // bytes and the text box's buffer.
    std::string utf8;
    const std::string_view all(bytes);
    for (size_t pos = 0; pos < all.size(); pos += kLoadPiece) {
        std::string_view piece = all.substr(pos, kLoadPiece);
        if (converted[pos / kLoadPiece]) {
            utf8.clear();
            codepage::AppendUtf8(piece, utf8);
            piece = utf8;
        }
        // A CR LF cut between two pieces is joined again by Scintilla.
        SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(piece.size()), piece.data());
        ThrowOnFailure();
    }
    SendScintilla(SCI_SETUNDOCOLLECTION, 1);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
}

AnsiText DocumentEdit::AnsiContent() const {
    auto* self = const_cast<DocumentEdit*>(this);
    const auto length = static_cast<size_t>(self->SendScintilla(SCI_GETLENGTH));
    // The buffer's own bytes, without a copy; valid until the next change.
    const auto* data = reinterpret_cast<const char*>(self->SendScintilla(SCI_GETCHARACTERPOINTER));
    AnsiText text;
    text.bytes.reserve(length);
    memory::AdviseLargePages(text.bytes);
    if (const auto character =
            codepage::AppendFromUtf8(std::string_view(data, length), text.bytes)) {
        text.bytes.clear();
        text.refusal = Refusal::Unencodable(*character);
    }
    return text;
}

}  // namespace toolkit::qt
