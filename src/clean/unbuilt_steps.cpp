// Steps of a cleaning run that are not built yet. Each is called in its place in the
// run, changes nothing, writes no line and reports that it found nothing, so that a run
// never claims to have cleaned a category it cannot clean. Each one leaves this file
// when its eraser is built.

#include "clean/erasers.h"

void EraseMozillaCookies(EraserDlg&) {}
void EraseMozillaHistory(EraserDlg&) {}
void EraseMozillaUrlBarHistory(EraserDlg&) {}
void EraseAolTraces(EraserDlg&, bool) {}
