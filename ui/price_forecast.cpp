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
    for (QLineEdit* field : prices)
        field->installEventFilter(this);
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
        rows_[b]->setVisible(texts.Rows[b].has_value());
    }
    // Under the prompt "Change prices in ...:", left of the brand names, over the two free rows:
    // that it is this month's market, and the whole forecast of the brand being typed (the
    // first one until a field has the focus).
    size_t shown = 0;
    for (size_t b = 0; b < prices_.size(); ++b)
        if (prices_[b]->hasFocus() && texts.Details[b])
            shown = b;
    std::string note = texts.Note;
    if (texts.Details[shown])
        note += ". " + *texts.Details[shown];
    note_->setText(QString::fromStdString(note));
    note_->setToolTip(note_->text());
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QRect first = prices_[1]->geometry();
    const QRect last = prices_[2]->geometry();
    note_->setFont(font);
    note_->setGeometry(Zoomed(15, zoom_), first.top(), Zoomed(355, zoom_), last.bottom() - first.top() + 1);
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
    // The first field shows and hides with the command; the focus picks the brand whose whole
    // forecast the note tells.
    if (watched == prices_[0] && event->type() == QEvent::Show)
        Update();
    else if (watched == prices_[0] && event->type() == QEvent::Hide)
        Hide();
    else if (event->type() == QEvent::FocusIn && prices_[0]->isVisible())
        Update();
    return QObject::eventFilter(watched, event);
}
