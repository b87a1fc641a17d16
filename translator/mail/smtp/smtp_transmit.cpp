// CSmtp's TransmitMessage: everything that can fail without the server is
// checked first (clock, sender, recipients, attachments opened and sized),
// then the envelope, the message text with its base64 attachments, and the
// end of data.
#include <fstream>

#include "mail/smtp/base64.h"
#include "mail/smtp/smtp_client.h"
#include "mail/smtp/smtp_message_text.h"

namespace quadrel {
namespace {

constexpr std::size_t kMaxAttachmentPath = 254;
// The attachments of one message together: their total with its low ten bits
// cleared must not be above 5 MiB.
constexpr std::uint64_t kAttachmentLimit = 5242880;
constexpr std::uint64_t kLimitGranule = 1024;
// 54 bytes give one base64 line of 72 characters.
constexpr std::size_t kBase64Piece = 54;
constexpr std::size_t kAttachmentChunk = 5120;

std::string PartHeader(const std::string& name) {
  return TextLine("--" + std::string(kMessageBoundary)) +
         TextLine("Content-Type: " + std::string(AttachmentType(name)) + "; name=\"" + name + "\"") +
         TextLine("Content-Transfer-Encoding: base64") +
         TextLine("Content-Disposition: attachment; filename=\"" + name + "\"") + TextLine("");
}

}  // namespace

struct CSmtp::OpenAttachment {
  std::string name;
  std::ifstream file;
  std::uint64_t size = 0;
};

std::vector<CSmtp::OpenAttachment> CSmtp::OpenAttachments() const {
  std::vector<OpenAttachment> files;
  std::uint64_t total = 0;
  for (const std::string& path : attachments_) {
    // A longer path is refused rather than cut to another file's name.
    if (path.size() > kMaxAttachmentPath) RaiseSmtp(kSmtpAttachmentUnreadable);
    OpenAttachment attachment{AttachmentName(path), std::ifstream(path, std::ios::binary), 0};
    if (!attachment.file || !attachment.file.seekg(0, std::ios::end)) RaiseSmtp(kSmtpAttachmentUnreadable);
    std::streamoff size = attachment.file.tellg();
    if (size < 0 || !attachment.file.seekg(0)) RaiseSmtp(kSmtpAttachmentUnreadable);
    attachment.size = static_cast<std::uint64_t>(size);
    total += attachment.size;
    if (total / kLimitGranule * kLimitGranule > kAttachmentLimit) RaiseSmtp(kSmtpAttachmentsTooLarge);
    files.push_back(std::move(attachment));
  }
  return files;
}

void CSmtp::TransmitMessage() {
  lastSendFailure_ = 0;
  try {
    SendOneMessage();
  } catch (const ECSmtp& failure) {
    lastSendFailure_ = failure.code;
    throw;
  }
}

void CSmtp::SendOneMessage() {
  bool insideData = false;
  try {
    std::string header = ComposeHeader(platform::LocalNow());
    std::vector<OpenAttachment> files = OpenAttachments();
    if (socket_ == platform::kNoSocket)
      OpenSession(serverHost_, serverPort_, kSmtpKeepSecurity, authenticate_, {}, {});
    SendEnvelope();
    insideData = true;
    SendMessageText(header, files);
    insideData = false;
    AwaitReply(SmtpStep(kStepEndOfMessage));
  } catch (...) {
    // Inside DATA a QUIT would only be message text, answered by nothing
    // until the end-of-data wait runs out: close without it.
    if (insideData) connected_ = false;
    CloseConnection();
    throw;
  }
}

void CSmtp::SendEnvelope() {
  SendBuffer(SmtpStep(kStepMailFrom), "MAIL FROM:<" + fromAddress_ + ">\r\n");
  AwaitReply(SmtpStep(kStepMailFrom));
  for (const SmtpRecipient& recipient : toRecipients_) {
    SendBuffer(SmtpStep(kStepRcptTo), "RCPT TO:<" + recipient.address + ">\r\n");
    AwaitReply(SmtpStep(kStepRcptTo));
  }
  SendBuffer(SmtpStep(kStepData), "DATA\r\n");
  AwaitReply(SmtpStep(kStepData));
}

void CSmtp::SendMessageText(const std::string& header, std::vector<OpenAttachment>& files) {
  const SmtpStepEntry& text = SmtpStep(kStepMessageText);
  SendBuffer(text, header);
  SendBodyLines();
  for (OpenAttachment& attachment : files) SendAttachment(attachment);
  if (!files.empty()) SendBuffer(text, "\r\n--" + std::string(kMessageBoundary) + "--\r\n");
  // The end of data ends the message text: a failure from here on may QUIT.
  SendBuffer(SmtpStep(kStepEndOfMessage), "\r\n.\r\n");
}

void CSmtp::SendBodyLines() {
  const SmtpStepEntry& text = SmtpStep(kStepMessageText);
  if (bodyLines_.empty()) SendBuffer(text, " \r\n");
  for (const std::string& bodyLine : bodyLines_)
    for (const std::string& line : DataLines(bodyLine)) SendBuffer(text, TextLine(line));
}

void CSmtp::SendAttachment(OpenAttachment& attachment) {
  const SmtpStepEntry& text = SmtpStep(kStepMessageText);
  SendBuffer(text, PartHeader(attachment.name));
  std::string chunk;
  std::size_t counter = 0;
  std::size_t lines = 0;
  auto sendChunk = [&] {
    SendBuffer(text, chunk, "<" + std::to_string(lines) + " lines of base64>");
    chunk.clear();
    counter = 0;
    lines = 0;
  };
  // size / 54 + 1 pieces: a size that is a multiple of 54 ends in an empty line.
  std::uint64_t left = attachment.size;
  for (std::uint64_t pieces = attachment.size / kBase64Piece + 1; pieces > 0; --pieces) {
    char piece[kBase64Piece];
    std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(left, kBase64Piece));
    // A file that shrank since it was sized cannot give the promised bytes.
    if (!attachment.file.read(piece, static_cast<std::streamsize>(length)))
      RaiseSmtp(kSmtpAttachmentUnreadable);
    left -= length;
    chunk += TextLine(Base64Encode(piece, length));
    ++lines;
    counter += length + 2;
    if (counter >= kAttachmentChunk) sendChunk();
  }
  if (!chunk.empty()) sendChunk();
}

}  // namespace quadrel
