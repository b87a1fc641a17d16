// The driver settings in the registry: every key path, value name and default
// that Quadrel, Ravelin, the protocol libraries and Lathwell read or write.
// Values are strings; switches are "1"/"0". Paths are relative to the root
// (HKLM, or HKCU for the single-port AutoRun values).
#pragma once

namespace registry {

// HKLM (and HKCU for single-port AutoRun): the driver's own key.
inline constexpr char kDriverKey[] = "Software\\Velmora\\Drivers\\Corvane\\FirmwareA";
// The ports key: one subkey per logical port.
inline constexpr char kPortsKey[] = "Software\\Velmora\\Drivers\\Corvane\\FirmwareA\\Ports";
// A logical port's key is this prefix and the port number in decimal.
inline constexpr char kPortsKeyPrefix[] = "Software\\Velmora\\Drivers\\Corvane\\FirmwareA\\Ports\\";

// Values of the driver key (HKLM).
inline constexpr char kInstallationDir[] = "InstallationDir";  // ends with a backslash
inline constexpr char kEnableSpoolerAutoRun[] = "EnableSpoolerAutoRun";
// A port's spooler command files by default: InstallationDir + folder + n + "\\" + mask.
inline constexpr char kSpoolerFolder[] = "Spooler\\";
inline constexpr char kSpoolerMask[] = "sco*.dat";
// Translator switches with their defaults when the value is missing.
inline constexpr char kBufferFlush[] = "BufferFlush";                // off
inline constexpr char kFixDepDescLen[] = "FixDepDescLen";            // off
inline constexpr char kAlwayMaxSpeedFP[] = "AlwayMaxSpeedFP";        // on
inline constexpr char kAutoSlaveOnBatch[] = "AutoSlaveOnBatch";      // on
inline constexpr char kRetryOn8XXX[] = "RetryOn8XXX";                // on
inline constexpr char kRetryOn16XXX[] = "RetryOn16XXX";              // off
inline constexpr char kCoverOpenPaperEmptyMode[] = "CoverOpenPaperEmptyMode";  // 2
inline constexpr char kSendZAE[] = "sendZAE";                        // off
// The mail client's TLS check of the server (HKLM).
inline constexpr char kMailCAFile[] = "MailCAFile";        // a PEM file of further trusted roots
inline constexpr char kMailTlsVerify[] = "MailTlsVerify";  // on; "0" turns the check off (unsafe)
// The mail server command 75 uses when its line names none (HKLM).
inline constexpr char kMailServer[] = "MailServer";

// Values of the driver key under HKCU: single-port AutoRun.
inline constexpr char kAutoRun[] = "AutoRun";  // the port number; "0" or missing: off
inline constexpr char kAutoRunErrorsFile[] = "AutoRun ErrorsFile";
// Under HKCU's driver key the command file; under a port key the spooler's pattern.
inline constexpr char kAutoRunCommandFile[] = "AutoRun CommandFile";

// Values of a logical port's key (HKLM).
inline constexpr char kPortDescription[] = "";  // the key's (default) value
inline constexpr char kPortType[] = "PortType";
inline constexpr char kDeviceType[] = "DeviceType";  // "RT" for the telematic translator
inline constexpr char kEcrIp[] = "ECRIP";
inline constexpr char kEcrPortNumber[] = "ECRPortNumber";
inline constexpr char kSerialPort[] = "Port";  // "COM1" ...
inline constexpr char kSpeed[] = "Speed";
inline constexpr char kDefaultSpeed[] = "9600";
inline constexpr char kOnLine[] = "OnLine";
inline constexpr char kExtDisplayEcho[] = "ExtDisplayEcho";
inline constexpr char kEcrProt[] = "EcrProt";
inline constexpr char kDefaultEcrProt[] = "50187";  // also what a stored "0" stands for
inline constexpr char kEnableAutoRunOnPort[] = "EnableAutoRunOnPort";  // Lathwell's: run the port's spooler service
inline constexpr char kDsrCheck[] = "DSRCheck";  // default "0"
inline constexpr char kCtsCheck[] = "CTSCheck";  // default "0"
inline constexpr char kNetDef[] = "NetDef";      // RS-485 register addresses
inline constexpr char kConfStrModem[] = "ConfStrModem";
inline constexpr char kLogFileName[] = "LogFileName";
inline constexpr char kLogLevel[] = "LogLevel";  // "1": protocol log on; default "0"
inline constexpr char kAnswerTimeout[] = "AnswerTimeout";  // milliseconds; ours, default 3000

}  // namespace registry
