#pragma once

#include "common/refusal.h"
#include "files/profile.h"
#include "image/fieldcoding.h"
#include "table/settingstext.h"

#include <QString>
#include <cstdint>

class ChannelTable;
struct RadioImage;

// The rules of the data check for the general settings, in their fixed order.
// Each passed rule codes its field into the image header, the tone table or
// the Id, and adds the digits of its value to the settings digit count.
class SettingsRules
{
public:
    // Codes into `image` and adds to `digitCount` as the rules pass.
    SettingsRules(const Profile &settings, const ChannelTable &table, RadioImage &image, std::uint8_t &digitCount);

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
    const ChannelTable &m_table;
    RadioImage &m_image;
    std::uint8_t &m_digitCount;
    int m_volume = 0;
};
