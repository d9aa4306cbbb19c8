#pragma once

class QKeyEvent;

// Offered every key press of a control before the dialog's own navigation sees it, so a
// text box can keep Tab, the arrow keys and Page Up/Down for itself.
class KeyPreviewHandler
{
public:
    enum Translation {
        Consumed = 0, // the control handled the key; nobody else sees it
        NotConsumed = 1, // normal handling goes on
    };

    virtual ~KeyPreviewHandler() = default;

    virtual int translateAccelerator(QKeyEvent *event) = 0;
};
