#include "checkedfile.h"

#include "common/paths.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "state/appstate.h"

DataCheckResult loadAndCheck(const QString &path, AppState &state)
{
    const ChannelFile::LoadResult loaded = ChannelFile::load(path, state);
    if (loaded.failure)
        throw PlatformError(*loaded.failure);
    return DataCheck::run(state, Paths::tempSettingsFile());
}
