#pragma once

#include "detect/SubnetScanContext.h"
#include "inventory/InventoryNode.h"
#include "platform/WorkerThread.h"

namespace vn {

// Tests one address of a subnet scan: when it answers on the NetBIOS port the
// computer is examined and its node handed to the tree; otherwise only a
// progress step is made. Its job is a record made from the address. It does
// not poll the stop event: the subnet scan stops starting new probes and waits
// for the running ones.
class AddressProbeWorker final : public JobWorker<ComputerRecord> {
public:
    explicit AddressProbeWorker(SubnetScanContext& scan) : scan_(scan) {}
    ~AddressProbeWorker() override { Stop(); }

protected:
    void Run() override;

private:
    SubnetScanContext& scan_;
};

}  // namespace vn
