/// @file price_forecast.cpp The forecast labels beside the price fields.
#include "ui/price_forecast.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include "commands/game_session.h"
#include "commands/history_views.h"
#include "ui/dialog_support.h"
#include "ui/zoom.h"

PriceForecastLabels::PriceForecastLabels(const GameSession& session, const std::array<QLineEdit*, 3>& prices)
    : QObject(prices[0]), session_(session), prices_(prices)
{
    QWidget* panel = prices[0]->parentWidget();
    for (size_t b = 0; b < prices.size(); ++b) {
        rows_[b] = new QLabel(panel);
        rows_[b]->hide();
        connect(prices[b], &QLineEdit::textChanged, this, [this] { Update(); });
    }
    note_ = new QLabel(panel);
    note_->hide();
    prices[0]->installEventFilter(this);
}

void PriceForecastLabels::Update()
{
    // Hidden fields need no forecast. The fields are hidden too while the window is taken
    // down, when the game they would ask about is already gone.
    if (!prices_[0]->isVisible()) {
        Hide();
        return;
    }
    const GameState& s = session_.State();
    std::array<std::string, 3> fields;
    for (size_t b = 0; b < fields.size(); ++b)
        fields[b] = prices_[b]->text().toStdString();
    const PriceForecastTexts texts = ComputePriceForecast(s, fields, s.Program.Language);
    const QFont font = WindowFont(zoom_);
    for (size_t b = 0; b < rows_.size(); ++b) {
        // Right of the field's "$", up to the OK button; the fields stand where the zoom put them.
        const QRect field = prices_[b]->geometry();
        const int left = field.right() + Zoomed(14, zoom_);
        rows_[b]->setFont(font);
        rows_[b]->setGeometry(left, field.top(), Zoomed(592, zoom_) - left - 1, field.height());
        rows_[b]->setText(texts.Rows[b] ? QString::fromStdString(*texts.Rows[b]) : QString());
        rows_[b]->setToolTip(rows_[b]->text());  // the whole line where the panel cuts it off
        rows_[b]->setVisible(texts.Rows[b].has_value());
    }
    // In the second row under the prompt "Change prices in ...:", left of the brand names.
    note_->setText(QString::fromStdString(texts.Note));
    const QRect row = prices_[1]->geometry();
    note_->setFont(font);
    note_->setGeometry(Zoomed(15, zoom_), row.top(), Zoomed(300, zoom_), row.height());
    note_->show();
}

void PriceForecastLabels::Hide()
{
    for (QLabel* row : rows_)
        row->hide();
    note_->hide();
}

void PriceForecastLabels::SetZoom(int zoom)
{
    zoom_ = zoom;
    Update();
}

bool PriceForecastLabels::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show)
        Update();
    else if (event->type() == QEvent::Hide)
        Hide();
    return QObject::eventFilter(watched, event);
}
