// Words both searches use for their nodes and reports.
#pragma once

// What a node of the main search is expected to be: on the principal variation, a
// node expected to fail high (cut node), or one expected to fail low (all node).
enum NodeType : int { AllNode = 0, CutNode = 1, PvNode = 2 };

// What a reported score is: the exact value, or a bound after a fail low (upper)
// or a fail high (lower).
enum ReportBound { ReportExact = 0, ReportUpper = 1, ReportLower = 2 };
