// The window that shows a running export's progress and can cancel it.
#pragma once

#include "export/export_job.h"

// Waits for job, showing the progress dialog once the job has taken half a
// second; Cancel asks the job to stop. Returns when the job has ended.
void WaitWithProgress(ExportJob& job, uint64_t frames, const char* name);
