#pragma once

#include "link/readobserver.h"

// A read without a window: nothing to show while the reply arrives; a refusal
// of the reply is kept for the command to report.
class QuietReadView final : public ReadObserver
{
public:
    void settingsChanged() override {}
    void stationSelected(std::optional<StationKind>) override {}
    void tableShown() override {}
    void moduleMarked() override {}
    void refused(const Refusal &refusal) override { m_refusal = refusal; }

    const MaybeRefusal &refusal() const { return m_refusal; }

private:
    MaybeRefusal m_refusal;
};
