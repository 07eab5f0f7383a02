// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/acquisition_store.h"

namespace korvelane {

void ResetAcquisitionStore(AcquisitionStore& store) {
  store = AcquisitionStore{};
}

}  // namespace korvelane
