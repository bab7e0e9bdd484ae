#pragma once

#include "common/refusal.h"
#include "files/profile.h"
#include "image/fieldcoding.h"
#include "table/settingstext.h"

#include <QString>

struct AppState;

// The rules of the data check for the general settings, in their fixed order.
// Each passed rule codes its field into the image header, the tone table or
// the Id, and adds the digits of its value to the settings digit count.
class SettingsRules
{
public:
    SettingsRules(const Profile &settings, AppState &state);

    // Runs every rule in order and stops at the first that fails. Throws the
    // conversion error of a channel number or an "ФВ" character that is not a number.
    MaybeRefusal run();

    // How the channel rows code their DCS cells.
    FieldCoding::DcsMode dcsMode() const;

private:
    MaybeRefusal brightness();
    MaybeRefusal volume();
    MaybeRefusal channelCount();
    MaybeRefusal keyBeep();
    MaybeRefusal specialChannel();
    MaybeRefusal fv();
    MaybeRefusal minVolume();
    MaybeRefusal dcsModeRule();
    MaybeRefusal optionFlags();
    MaybeRefusal tones();
    MaybeRefusal id();

    // The key's value, or the check's default for it.
    int integer(SettingsText::Key key) const;
    QString text(SettingsText::Key key) const;
    void addDigitsOf(int value);
    void addDigitCount(int count);

    const Profile &m_settings;
    AppState &m_state;
    int m_volume = 0;
};
