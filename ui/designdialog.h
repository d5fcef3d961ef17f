// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The base of the game's modal windows: a fixed client area, a title bar with a close box only,
// the game's font on the standard dialog background, centred on the screen when shown. A window
// is made for one showing and lives in the function that shows it, so every showing starts from
// its design-time state.
//
// Its one push button closes it. That button is the only control that takes the focus and has it
// from the start; it is neither the default nor the cancel button: Escape does nothing, and
// Enter or Space press the button because it has the focus.
class DesignDialog : public QDialog
{
    Q_OBJECT

public:
    // clientSize is in twips.
    DesignDialog(const char *name, const QString &caption, QSize clientSize, QWidget *parent);

protected:
    // Geometries are in pixels (see twipsRect()), relative to the parent's outer top-left corner.
    // The label wraps its text at word boundaries and draws it from its top edge.
    static QLabel *createLabel(QWidget *parent, const QString &name, const QString &text,
                               QRect geometry, Qt::Alignment alignment = Qt::AlignLeft);
    // A picture at its listed size (picturesizes.h), drawn at that size so that it stays sharp.
    static QLabel *createImage(QWidget *parent, const char *name, const QString &picture,
                               QRect geometry);
    // A horizontal line one pixel high in the standard text colour, from (left, top) to
    // (right, top) in twips, both end points included.
    QWidget *createLine(const char *name, int left, int right, int top);
    QPushButton *createCloseButton(const char *name, const QString &text, QRect geometry);

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPushButton *m_button = nullptr;
};
