// The big text box: QScintilla set up to look and behave like a plain multi-line edit box,
// holding the document as ANSI bytes without changing a single one.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/qt/character_offsets.h"

namespace toolkit::qt {

class DocumentAnnouncer;

class DocumentEdit : public QsciScintilla {
    Q_OBJECT
  public:
    explicit DocumentEdit(QWidget* parent);
    ~DocumentEdit() override;

    // QScintilla takes a font's size in points only: a size in pixels is lost.
    void SetDisplayFont(QFont font);

    // The most the box holds, in bytes of UTF-8 with room to spare for typing: Scintilla's
    // positions end at 2 GiB.
    static constexpr std::uint64_t kTextCapacity = 2'000'000'000;
    // What an ANSI text takes of that room (a bound, at most two bytes over per character).
    static std::uint64_t TextSize(std::string_view bytes);

    // Replaces the text, or, when memory runs out (std::bad_alloc) or the text does not fit
    // (std::length_error), throws and keeps the text that was shown.
    void SetAnsiText(const std::string& bytes);
    AnsiText AnsiContent() const;

    // Character offsets of the document, for assistive technology.
    const CharacterOffsets& Offsets() const { return offsets_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void UseDocumentWithoutStyles();
    void LoadIntoShownDocument(const std::string& bytes, std::uint64_t size,
                               const std::vector<bool>& converted);
    void ThrowOnFailure();
    void BindPlainEditKeys();

    CharacterOffsets offsets_{this};
    DocumentAnnouncer* announcer_;
};

}  // namespace toolkit::qt
