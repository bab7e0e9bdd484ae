#include "stationsession.h"

#include "console.h"
#include "consoleprogress.h"
#include "portargument.h"
#include "quietreadview.h"
#include "recordingseriallink.h"
#include "link/linktexts.h"
#include "link/transferlink.h"
#include "state/appstate.h"

StationRead StationRead::run(AppState &state, const PortArgument &port)
{
    StationRead result;
    auto taken = std::make_shared<QByteArray>();
    ConsoleProgress progress(Console::errIsTerminal());
    TransferLink link(progress, Paths::optionsFile(), RecordingSerialLink::factory(taken));
    state.portNumber = port.applyTo(link);
    QuietReadView view;
    result.outcome = StationReader::read(state, link, view);
    result.refusal = view.refusal();
    result.reply = *taken;
    return result;
}

namespace StationTexts {

QString noAnswer()
{
    return QStringLiteral("Станция не отвечает (%1).").arg(LinkTexts::noAnswer());
}

} // namespace StationTexts
