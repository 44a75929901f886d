#pragma once

class CScsiCommand;
class ReportText;
struct ChannelFailure;

// Tells why the channel's last command failed, from its sense data: a status
// text in the report for the common refusals, else line 0 of the report and
// a message box.
void ReportSenseError(CScsiCommand& channel, ReportText& report, int opcode);
// The same for a failure taken earlier (TakeFailure), so that commands sent
// since do not change what is told.
void ReportSenseError(const ChannelFailure& failure, ReportText& report, int opcode);
// The same with every sense decoded in the box, the common refusals too:
// for a command the user composed, whose answer is all there is to see.
void ReportEverySense(const ChannelFailure& failure, ReportText& report, int opcode);
