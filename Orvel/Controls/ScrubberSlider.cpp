#include "ScrubberSlider.h"

ScrubberSlider::ScrubberSlider(QQuickItem *parent)
    : QQuickItem(parent)
{
}

void ScrubberSlider::setModel(ScrubberState *model)
{
    if (model == m_model)
        return;
    for (const auto &link : std::as_const(m_links))
        disconnect(link);
    m_links.clear();
    m_model = model;
    if (model) {
        m_links << connect(model, &ScrubberState::shownChanged, this, &ScrubberSlider::valueChanged)
                << connect(model, &ScrubberState::rangeChanged, this, &ScrubberSlider::rangeChanged)
                << connect(model, &ScrubberState::stepChanged, this, &ScrubberSlider::rangeChanged);
    }
    emit modelChanged();
    emit valueChanged();
    emit rangeChanged();
}

void ScrubberSlider::setValue(double value)
{
    if (m_model)
        m_model->stepTo(value);
}
