#include "cli/sarif_log.h"

#include <cstdio>

#include "cli/merge_tool.h"
#include "platform/encoding.h"
#include "platform/paths.h"

namespace cli_run {

namespace {

std::string Hex(unsigned value, int digits) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, digits == 2 ? "%02X" : "%04x", value);
  return buffer;
}

}  // namespace

std::string JsonString(std::string_view bytes) {
  std::string out = "\"";
  for (size_t i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
      ++i;
    } else if (c < 0x20) {
      out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : "\\u" + Hex(c, 4);
      ++i;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
    } else if (const size_t length = platform::Utf8SequenceLength(bytes, i); length > 0) {
      out.append(bytes.substr(i, length));
      i += length;
    } else {
      out += "\\u" + Hex(c, 4);
      ++i;
    }
  }
  return out + "\"";
}

std::string FileUri(std::string_view file, std::string_view cwd) {
  std::string path(file);
  std::string prefix;
  const std::string absolute = platform::AbsolutePath(file, cwd);
  std::string base(cwd);
  while (!base.empty() && platform::IsPathDelimiter(base.back())) base.pop_back();
  if (absolute.size() > base.size() + 1 && absolute.compare(0, base.size(), base) == 0 &&
      platform::IsPathDelimiter(absolute[base.size()])) {
    path = absolute.substr(base.size() + 1);
  } else {
    path = absolute;
    prefix = "file://";
    // A drive path (C:\x) becomes file:///C:/x.
    if (!path.empty() && !platform::IsPathDelimiter(path[0])) prefix += "/";
  }
  std::string out = prefix;
  for (const char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
    if (platform::IsPathDelimiter(ch)) {
      out += '/';
    } else if (unreserved || (c == ':' && !prefix.empty())) {
      out += ch;
    } else {
      out += "%" + Hex(c, 2);
    }
  }
  return out;
}

std::string SarifLog(const std::vector<Finding>& findings, std::string_view cwd) {
  std::string log =
      "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n"
      "  \"version\": \"2.1.0\",\n  \"runs\": [\n    {\n      \"tool\": {\n"
      "        \"driver\": {\n          \"name\": \"vaskarel-merge\",\n"
      "          \"version\": " +
      JsonString(MergeToolVersion()) + ",\n          \"rules\": [";
  const std::vector<FindingKindInfo>& kinds = FindingKinds();
  for (size_t k = 0; k < kinds.size(); ++k) {
    const FindingKindInfo& info = kinds[k];
    std::string help(info.description);
    if (!info.remedy.empty()) help += " To fix it: " + std::string(info.remedy) + ".";
    log += std::string(k == 0 ? "\n" : ",\n") + "            {\"id\": " + JsonString(info.name) +
           ", \"shortDescription\": {\"text\": " + JsonString(info.description) +
           "}, \"fullDescription\": {\"text\": " + JsonString(help) +
           "}, \"defaultConfiguration\": {\"level\": \"" +
           std::string(SeverityName(info.severity)) +
           "\", \"enabled\": " + (info.onByDefault ? "true" : "false") + "}}";
  }
  log +=
      "\n          ]\n        }\n      },\n      \"columnKind\": \"unicodeCodePoints\",\n"
      "      \"results\": [";
  for (size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    const FindingKindInfo& info = InfoOf(f.kind);
    std::string message = f.message;
    if (!info.remedy.empty()) message += "; " + std::string(info.remedy);
    log += std::string(i == 0 ? "\n" : ",\n") + "        {\"ruleId\": " + JsonString(info.name) +
           ", \"ruleIndex\": " + std::to_string(static_cast<size_t>(f.kind)) + ", \"level\": \"" +
           std::string(SeverityName(info.severity)) +
           "\", \"message\": {\"text\": " + JsonString(message + ".") +
           "}, \"locations\": [{\"physicalLocation\": {\"artifactLocation\": {\"uri\": " +
           JsonString(FileUri(f.file, cwd)) +
           "}, \"region\": {\"startLine\": " + std::to_string(f.line) +
           ", \"startColumn\": " + std::to_string(f.column) + "}}}]}";
  }
  return log + (findings.empty() ? "]\n" : "\n      ]\n") + "    }\n  ]\n}\n";
}

}  // namespace cli_run
