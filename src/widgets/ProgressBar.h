#pragma once

#include "OleColor.h"

#include <QFrame>
#include <QPointer>
#include <QProgressBar>

class PropertyBag;

// A progress bar with the full 32-bit range, a step, smooth or segmented drawing, either
// orientation, three border styles and its own colours.
class ProgressBar : public QFrame
{
    Q_OBJECT

public:
    enum BorderStyles { BorderNone = 0, BorderThin = 1, BorderSunken = 2 };

    explicit ProgressBar(QWidget *parent = nullptr);

    qint32 min() const { return m_min; }
    void setMin(qint32 value);
    qint32 max() const { return m_max; }
    void setMax(qint32 value);
    // The default property: where the bar stands, held within Min..Max.
    qint32 position() const { return m_position; }
    void setPosition(qint32 value);
    qint32 step() const { return m_step; }
    void setStep(qint32 value) { m_step = value; }
    // Advances by Step; past Max the bar starts over from Min, as a busy indicator would.
    void stepIt();

    bool smooth() const { return m_smooth; }
    void setSmooth(bool smooth);
    Qt::Orientation orientation() const { return m_orientation; }
    void setOrientation(Qt::Orientation orientation);
    int borderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    quint32 foreColor() const { return m_foreColor; }
    void setForeColor(quint32 oleColor);
    quint32 backColor() const { return m_backColor; }
    void setBackColor(quint32 oleColor);

    // The progress window; a new one after a change of Smooth or Orientation.
    QProgressBar *hwnd() const { return m_bar; }

    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

private:
    void createBar();
    void applyRange();
    void applyLook();
    QString styleSheet() const;

    QPointer<QProgressBar> m_bar;
    qint32 m_min = 0;
    qint32 m_max = 100;
    qint32 m_position = 0;
    qint32 m_step = 1;
    bool m_smooth = false;
    Qt::Orientation m_orientation = Qt::Horizontal;
    int m_borderStyle = BorderThin;
    quint32 m_foreColor = OleColor::Highlight;
    quint32 m_backColor = OleColor::ButtonFace;
};
