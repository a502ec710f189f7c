// Hands a PDF to the system's print spooler.
#pragma once

#include <string>
#include <vector>

namespace plotara::player {

// Writes the PDF to a temporary file and runs command + [file] (e.g. {"lp"}), waiting for it.
// Returns "" on success, otherwise a description of what failed (no spooler, a failing
// spooler, no temporary file). Never throws; the temporary file is removed afterwards.
std::string spoolPdf(const std::string& pdf, const std::vector<std::string>& command);

} // namespace plotara::player
