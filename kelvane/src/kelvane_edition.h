#pragma once

namespace kelvane {

/// True when this unit is compiled for the maintenance edition (kelvane), false for
/// kelvaned. Source units that compile in both editions branch on it with
/// `if constexpr`; the preprocessor fence stays in headers, where declarations and
/// moc need it, and here.
#ifdef KELVANE_MAINTENANCE
inline constexpr bool kMaintenanceEdition = true;
#else
inline constexpr bool kMaintenanceEdition = false;
#endif

} // namespace kelvane
