#pragma once

#include "common/refusal.h"

#include <QObject>
#include <functional>

class UiServices;

// The per-character key hook of an edit field: every typed character goes
// through the rule; a refused one is discarded, its sound plays and its
// message is shown. Keys that type nothing (arrows, Delete, Tab) and shortcuts pass.
class KeyFilter : public QObject
{
    Q_OBJECT
public:
    using Rule = std::function<MaybeRefusal(QChar)>;
    KeyFilter(UiServices &ui, Rule rule, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    UiServices &m_ui;
    Rule m_rule;
};
