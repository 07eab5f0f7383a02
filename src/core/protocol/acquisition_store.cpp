#include "core/protocol/acquisition_store.h"

namespace korvelane {

void ResetAcquisitionStore(AcquisitionStore& store) {
  store = AcquisitionStore{};
}

}  // namespace korvelane
