// Puts every gauge's record back as the module loads it, so that tests and fuzzers can run case
// after case in one process. Built apart from the module: the host has no way to reach it, neither
// through the exports nor through any gauge's records.
#pragma once

void resetGaugeRecords();
