// Base64, MD5 and the authentication answers against the RFC vectors.
#include <gtest/gtest.h>

#include <string>

#include "mail/smtp/base64.h"
#include "mail/smtp/md5.h"
#include "mail/smtp/smtp_auth_answers.h"

namespace quadrel {
namespace {

using std::string_literals::operator""s;

TEST(Base64, RoundTripsTheRfc4648Vectors) {
  const std::pair<std::string, std::string> vectors[] = {{"", ""},
                                                         {"f", "Zg=="},
                                                         {"fo", "Zm8="},
                                                         {"foo", "Zm9v"},
                                                         {"foob", "Zm9vYg=="},
                                                         {"fooba", "Zm9vYmE="},
                                                         {"foobar", "Zm9vYmFy"},
                                                         {"\0"s, "AA=="},
                                                         {"\xff\xfe\x00\x01"s, "//4AAQ=="}};
  for (const auto& [bytes, text] : vectors) {
    EXPECT_EQ(Base64Encode(bytes), text);
    EXPECT_EQ(Base64Decode(text), bytes) << text;
  }
}

TEST(Base64, DecodingStopsAtPaddingLineBreakOrStrayCharacter) {
  EXPECT_EQ(Base64Decode("YWI=YWJj"), "ab");
  EXPECT_EQ(Base64Decode("YWJj\r\nZGVm"), "abc");
  EXPECT_EQ(Base64Decode("YWJj ZGVm"), "abc");
  EXPECT_EQ(Base64Decode("YWJjZ"), "abc");  // one left-over character gives nothing
  EXPECT_EQ(Base64Decode("YWJjZA"), "abcd");
}

std::string HexOf(std::string_view input) {
  MD5 md5;
  md5.update(input);
  md5.finalize();
  return md5.hex_digest();
}

TEST(Md5, GivesTheRfc1321Vectors) {
  const std::pair<std::string, std::string> vectors[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"}};
  for (const auto& [input, hex] : vectors) EXPECT_EQ(HexOf(input), hex) << input;
}

TEST(Md5, MisuseIsReportedOnStderrAndChangesNothing) {
  MD5 md5;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(md5.raw_digest());
  EXPECT_EQ(md5.hex_digest(), "");
  md5.finalize();
  md5.update("more");
  md5.finalize();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "MD5::raw_digest:  Can't get digest if you haven't finalized the digest!\n"
            "MD5::hex_digest:  Can't get digest if you haven't finalized the digest!\n"
            "MD5::update:  Can't update a finalized digest!\n"
            "MD5::finalize:  Already finalized this digest!\n");
  EXPECT_EQ(md5.hex_digest(), "d41d8cd98f00b204e9800998ecf8427e");
  md5.Md5Reset();
  md5.update("abc");
  md5.finalize();
  EXPECT_EQ(md5.hex_digest(), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(HmacMd5, GivesTheRfc2202VectorsAndKeysLongPasswordsByTheirDigest) {
  EXPECT_EQ(HmacMd5Hex(std::string(16, '\x0b'), "Hi There"), "9294727a3638bb1c13f48ef8158bfc9d");
  EXPECT_EQ(HmacMd5Hex(std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First"),
            "6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd");
  const std::string password65(65, 'p');
  Md5Digest key = Md5Of(password65);
  EXPECT_EQ(HmacMd5Hex(password65, "<1.2@host>"),
            HmacMd5Hex(std::string(reinterpret_cast<const char*>(key.data()), key.size()), "<1.2@host>"));
  EXPECT_NE(HmacMd5Hex(password65, "<1.2@host>"), HmacMd5Hex(password65.substr(0, 64), "<1.2@host>"));
}

TEST(CramMd5, AnswersTheRfc2195Example) {
  EXPECT_EQ(CramMd5Answer("<1896.697170952@postoffice.reston.mci.net>", "tim", "tanstaaftanstaaf"),
            "tim b913a602c7eda7a495b4e6e7334d3890");
}

TEST(DigestMd5, AnswersTheRfc2831ExampleWithAndWithoutRealm) {
  DigestCredentials chris{"chris", "secret", "OA6MHXh6VqTrRk", "imap/elwood.innosoft.com"};
  EXPECT_EQ(DigestMd5Answer({"OA6MG9tEQGm2hh", "elwood.innosoft.com"}, chris),
            "charset=utf-8,username=\"chris\",realm=\"elwood.innosoft.com\",nonce=\"OA6MG9tEQGm2hh\","
            "nc=00000001,cnonce=\"OA6MHXh6VqTrRk\",digest-uri=\"imap/elwood.innosoft.com\","
            "response=d388dad90d4bbd760a152321f2143af7,qop=auth");
  EXPECT_EQ(DigestMd5Answer({"OA6MG9tEQGm2hh", ""}, chris),
            "charset=utf-8,username=\"chris\",nonce=\"OA6MG9tEQGm2hh\","
            "nc=00000001,cnonce=\"OA6MHXh6VqTrRk\",digest-uri=\"imap/elwood.innosoft.com\","
            "response=695dcc815019923b9d438fd28c641aa9,qop=auth");
}

}  // namespace
}  // namespace quadrel
