#include "checkedfile.h"

#include "common/paths.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "state/appstate.h"

DataCheckResult loadAndCheck(const QString &path, AppState &state)
{
    const ChannelFile::LoadResult loaded = ChannelFile::load(path, state);
    // The command line counts a file the window cannot take among the
    // failures of files (status 2), as one that cannot be opened.
    if (loaded.refusal)
        throw PlatformError(loaded.refusal->text);
    return DataCheck::run(state, Paths::tempSettingsFile());
}
