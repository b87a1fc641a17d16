// An article record as the register sends it in a download, and the two line
// forms it is written in: separated values (the columns an article upload
// reads after its operation) and a command line of the article command.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "records/record_fields.h"

namespace quadrel {

using ByteSpan = std::span<const std::uint8_t>;

struct DownloadedArticle {
  ByteSpan code;
  bool codesOnly = false;  // the record holds the code and the trailing values only
  ByteSpan description, firstNumber, secondNumber, classPair;
  ByteSpan prices[3];
  ByteSpan fourth;                   // empty where the register has none
  ByteSpan extraFirst, extraSecond;  // empty where the register has none
};

// Splits `record` (from the code on). False when it is too short for the
// register's layout: nothing is read past it.
bool SplitArticleRecord(ByteSpan record, const ArticleGeometry& geometry, bool codesOnly,
                        DownloadedArticle& out);

std::string ArticleValuesLine(const DownloadedArticle& article, const ArticleGeometry& geometry);
std::string ArticleCommandLine(const DownloadedArticle& article, const ArticleGeometry& geometry);

// The code as the register holds it: its characters without trailing blanks
// on alphanumeric registers, all its BCD digits otherwise.
std::string ArticleCodeText(ByteSpan code, const ArticleGeometry& geometry);

}  // namespace quadrel
