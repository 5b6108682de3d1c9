// What assistive technology sees of the big text box: its text, caret and selection, with
// offsets found through the document's line index rather than counted from the start.
// QScintilla's own accessibility counts characters from the start of the buffer on every
// query, which makes a screen reader stall the box on large files.
#pragma once

#include <QAccessibleWidget>

namespace toolkit::qt {

class DocumentEdit;

// Makes Qt use DocumentAccessible for every DocumentEdit; safe to call more than once.
void InstallDocumentAccessibility();

class DocumentAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
  public:
    explicit DocumentAccessible(DocumentEdit* edit);

    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

  private:
    enum class Side { Before = -1, At = 0, After = 1 };
    QString TextNear(int offset, QAccessible::TextBoundaryType boundaryType, Side side,
                     int* startOffset, int* endOffset) const;
    void Replace(int startOffset, int endOffset, const QString& text);
    DocumentEdit* Edit() const;
};

}  // namespace toolkit::qt
