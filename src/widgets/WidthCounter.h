#pragma once

#include <QWidget>

// How wide a text is against the width a search result gives it: "312 / 580 px" beside a
// bar coloured by the rating. The rating is spelt out too, so colour is never the only sign.
class WidthCounter : public QWidget
{
    Q_OBJECT

public:
    enum class Rating { Short, Good, NearLimit, OverLimit };

    // From this share of the limit on, a few more characters get the text cut.
    static constexpr double kNearShare = 0.95;

    explicit WidthCounter(double limit, QWidget *parent = nullptr);

    static Rating rate(double pixels, double limit);

    void setPixels(double pixels);
    void setLimit(double limit);
    double pixels() const { return m_pixels; }
    double limit() const { return m_limit; }
    Rating rating() const { return rate(m_pixels, m_limit); }
    // "312 / 580 px", with the rating in words unless it is good.
    QString text() const;
    QColor ratingColour() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showRating();

    static constexpr int kBarWidth = 96;
    static constexpr int kBarHeight = 8;
    static constexpr int kGap = 6;

    double m_limit;
    double m_pixels = 0.0;
};
