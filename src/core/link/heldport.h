#pragma once

#include "link/seriallink.h"

#include <memory>

// One device opened once and held, with its lock, for a whole sequence of
// transfers on one station (read, write, read back). Each transfer still
// opens and closes its port as it always does; those are the links this
// hands out, which open the held device the first time and afterwards only
// take it up again, dropping what arrived in between as a fresh open would,
// and whose close only lets go of it. So the device cannot change under the
// sequence: a link moved to another station, or an adapter that comes back
// under another name, does not redirect the later steps. The device is
// closed, and its lock dropped, when the HeldPort and every link are gone.
class HeldPort
{
public:
    explicit HeldPort(SerialLinkFactory factory);

    // Links onto the held device, one per transfer.
    SerialLinkFactory factory() const;

    struct Device; // the one link and the name it was opened by

private:
    std::shared_ptr<Device> m_device;
};
