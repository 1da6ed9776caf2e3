#pragma once

namespace trv {

struct AppState;
struct ClosingHooks;
class Prompts;

// Package/week mode, when the window opens: the month's last package loses its NOREAD readings and repeated
// codes and its sums go to the main window's status bar. Nothing without package/week mode or without the
// package collection (no receipt with SM started in this run); a failure to sum is told to the operator.
void souctyBaliku(AppState& state, Prompts& prompts, const ClosingHooks& hooks);

} // namespace trv
