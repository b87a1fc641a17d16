// Command 14: two texts printed as a text line, and the lines of the
// register's displays, sent at once as output frames.
#pragma once

namespace quadrel {

// #1 (12 characters) and #2 (16) as one text-line record whose attribute
// comes from the bare flags #3 and #4; #5..#8 the display lines 1, 2, 4, 5;
// #9 and #10 texts split over two lines. #4 or a host with wide texts makes
// #7 and #8 also show on the two-line display with the line they last left
// there. #3 ends the display frames with 'O' 10 12. 268 for display lines on
// a register without them; the first failed frame returns its code.
int CmdTextAndOutputLines();

}  // namespace quadrel
