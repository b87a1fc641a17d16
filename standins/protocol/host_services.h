// What the library offers the translator beyond single frames: the host-info
// record with its functions, and the service requests (negative EcrIO).
#pragma once

#include "ecr_link.h"
#include "interfaces/host_info.h"

namespace prot {

EcrLink& Link();

// Fills the record for the port just opened.
void PrepareHostInfo(const PortSettings& settings);
HostInfoRecord& HostInfo();

int ServeRequest(int request, int mode, void* a3, int a4, void* a5, int* a6, int* a7);

// Broadcast: the frame to every register on the line, answers side by side.
int QUADREL_CALL HostBroadcastIO(int mode, const void* frame, int length, int ecrCount, int answerSize,
                                 void* answers, int* answerLengths, int* statusCodes);

}  // namespace prot
