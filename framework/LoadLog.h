// The editor's optional load timing log: when the environment variable
// PRAMEL_LOAD_LOG names a file, each step of a load appends one line of
// timings to it, ending with the time it was written on the performance
// counter. The editor benchmark reads them to split a load into its shares.
#pragma once

// Milliseconds on the performance counter.
double LoadClock();
// Appends one printf-formatted line (when the log is on).
void AppendLoadLog(const char* format, ...);
