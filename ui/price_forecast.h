/// @file price_forecast.h The sales forecast beside Change Prices' three price fields: what this
/// month's market of the selected town would sell at the typed price, updated as the player
/// types, and under the prompt a note that it is this month's market at today's wages with the
/// whole forecast of the brand being typed. The numbers come from ComputePriceForecast.
#pragma once

#include <QObject>
#include <array>

class GameSession;
class QLabel;
class QLineEdit;

class PriceForecastLabels : public QObject {
    Q_OBJECT

public:
    /// Labels beside `prices` (Edit2..Edit4) on their parent; they show while the fields show.
    PriceForecastLabels(const GameSession& session, const std::array<QLineEdit*, 3>& prices);
    /// Works the forecast out again for the fields' texts.
    void Update();
    /// The window's zoom in percent: places and font of the labels.
    void SetZoom(int zoom);
    const std::array<QLabel*, 3>& Rows() const { return rows_; }
    QLabel* Note() const { return note_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Hide();

    const GameSession& session_;
    std::array<QLineEdit*, 3> prices_;
    std::array<QLabel*, 3> rows_{};
    QLabel* note_ = nullptr;
    int zoom_ = 100;
};
