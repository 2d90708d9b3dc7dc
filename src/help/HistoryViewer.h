#pragma once
// A read-only window of our own that shows the change history in the display
// font on the text-background colour (the desktop has no WordPad, and a
// general editor would show it in its own small font). Esc closes it.
#include "ui/ColorValue.h"
#include "ui/TFont.h"

#include <QPlainTextEdit>
#include <optional>

namespace help {

class HistoryViewer : public QPlainTextEdit {
    Q_OBJECT
public:
    // Reads the file at once; the window deletes itself when closed.
    HistoryViewer(const QString& path, const TFont& displayFont, ColorValue background, QWidget* owner = nullptr);

    // "History.txt - Zarnolith": the file name, then the program's name.
    static QString TitleFor(const QString& path);

    // The file's text: UTF-8 (a byte-order mark is dropped), or code page 1252
    // when the bytes are no valid UTF-8; line ends become "\n". Nothing when
    // the file cannot be read.
    static std::optional<QString> ReadHistoryFile(const QString& path);

    // Restores it when minimised, raises it and gives it the focus.
    void BringToFront();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The first showing centres the window in the work area, as the other windows are.
    void showEvent(QShowEvent* event) override;

private:
    void SetUpSize();
    bool m_placed = false;
};

} // namespace help
