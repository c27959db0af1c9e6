// The whole game's cost, measured on the built game: `tervolin-bench --cost`.
#pragma once

// Prints "startup-to-title-ms", "idle-title-cpu-pct" and "idle-board-cpu-pct" as "<name> <value>"
// lines; returns the process exit code (1 when the game could not be run).
int PrintCostFigures();
