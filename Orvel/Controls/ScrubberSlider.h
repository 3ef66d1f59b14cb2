#pragma once

#include "ScrubberState.h"

#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// The scrubber as the platform's accessibility sees a slider: Qt reads
// `value`, `minimumValue`, `maximumValue` and `stepSize` of an item whose
// role is Slider, and writes `value`. Here a write is an edit: it goes
// through the edit cycle's step, debounced like the arrow keys.
class ScrubberSlider : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(ScrubberState *model READ model WRITE setModel NOTIFY modelChanged)
    Q_PROPERTY(double value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(double minimumValue READ minimumValue NOTIFY rangeChanged)
    Q_PROPERTY(double maximumValue READ maximumValue NOTIFY rangeChanged)
    Q_PROPERTY(double stepSize READ stepSize NOTIFY rangeChanged)

public:
    explicit ScrubberSlider(QQuickItem *parent = nullptr);

    ScrubberState *model() const { return m_model; }
    void setModel(ScrubberState *model);

    double value() const { return m_model ? m_model->shownValue() : 0; }
    void setValue(double value);
    double minimumValue() const { return m_model ? m_model->minimum() : 0; }
    double maximumValue() const { return m_model ? m_model->maximum() : 0; }
    double stepSize() const { return m_model ? m_model->step() : 0; }

signals:
    void modelChanged();
    void valueChanged();
    void rangeChanged();

private:
    QPointer<ScrubberState> m_model;
    QList<QMetaObject::Connection> m_links;
};
