// Commands 77, 78 and 79: file transfers and a query that the host's
// protocol library carries out; the translator checks and forwards the
// parameters and turns the host's status into a result.
#pragma once

namespace quadrel {

// A query's time-out when #1 gives none.
constexpr int kHostQueryDefaultTimeOutMs = 5000;

// #1 kind (77: TOTALIPLU, RAW; 78: ARTICOLICSV, MANBIL, LOTTICSV,
// INGREDIENTICSV, RAW), #2 the host's text, #3 the file; 77 also #4.
int CmdHostXferTotals();
int CmdHostXferTables();
// #1 time-out in ms, #2 the query, #3 a file for the answer.
int CmdHostQuery();

}  // namespace quadrel
