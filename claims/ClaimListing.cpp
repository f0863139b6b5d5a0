#include "ClaimListing.h"

#include "ClaimExport.h"

#include <algorithm>
#include <set>

namespace {

std::string CleanText(const std::vector<TTextPiece>& Redline) {
    std::string out;
    for (const TTextPiece& piece : Redline) {
        if (piece.Change == TTextChange::Deleted)
            continue;
        if (!out.empty())
            out += ' ';
        out += piece.Text;
    }
    return out;
}

std::string NumberList(const std::vector<int32_t>& Numbers) {
    std::string out;
    for (int32_t n : Numbers)
        out += (out.empty() ? "" : ", ") + std::to_string(n);
    return out;
}

} // namespace

std::vector<TListingEntry> ClaimListing(const TClaimComparison& Comparison) {
    std::vector<TListingEntry> entries;
    std::set<int32_t> numbersOfB;
    // Claims B lists under their own number as canceled; looked up once, as
    // a search per canceled claim is quadratic in a long listing.
    std::set<int32_t> listedAsBefore;
    for (const TComparedClaim& claim : Comparison.Claims) {
        numbersOfB.insert(claim.Number);
        if (claim.From == claim.Number)
            listedAsBefore.insert(claim.Number);
    }
    // A's canceled claims, in the order of their numbers, to go among B's.
    std::vector<int32_t> canceled;
    std::vector<int32_t> renumbered;
    for (int32_t n : Comparison.Canceled) {
        if (listedAsBefore.count(n) != 0)
            continue;
        (numbersOfB.count(n) ? renumbered : canceled).push_back(n);
    }
    std::size_t next = 0;
    const auto canceledEntry = [](int32_t Number, std::string Label) {
        return TListingEntry{Number, std::move(Label), TAmendmentStatus::Canceled, {}, -1};
    };
    for (std::size_t c = 0; c < Comparison.Claims.size(); ++c) {
        const TComparedClaim& claim = Comparison.Claims[c];
        while (next < canceled.size() && canceled[next] < claim.Number) {
            entries.push_back(canceledEntry(canceled[next], std::to_string(canceled[next])));
            ++next;
        }
        TListingEntry entry{
            claim.Number, std::to_string(claim.Number), claim.Status, {}, static_cast<int64_t>(c)};
        if (claim.Status == TAmendmentStatus::CurrentlyAmended && claim.From != 0)
            entry.Text = claim.Redline;
        else if (!claim.Redline.empty())
            entry.Text.push_back({TTextChange::Same, CleanText(claim.Redline)});
        entries.push_back(std::move(entry));
    }
    for (; next < canceled.size(); ++next)
        entries.push_back(canceledEntry(canceled[next], std::to_string(canceled[next])));
    for (int32_t n : renumbered)
        entries.push_back(canceledEntry(n, std::to_string(n) + " (as numbered before)"));
    return entries;
}

bool BracketedDeletion(std::string_view Utf8) {
    std::size_t characters = 0;
    for (char c : Utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++characters;
    }
    return characters <= 5;
}

std::string ClaimComparisonText(const TClaimComparison& Comparison) {
    int amended = 0, added = 0, moved = 0;
    for (const TComparedClaim& claim : Comparison.Claims) {
        amended += claim.Status == TAmendmentStatus::CurrentlyAmended;
        added += claim.Status == TAmendmentStatus::New;
        moved += claim.Moved() && claim.Status != TAmendmentStatus::Canceled;
    }
    std::string out = std::to_string(Comparison.Claims.size()) +
                      " claims: " + std::to_string(amended) + " amended, " + std::to_string(added) +
                      " new, " + std::to_string(moved) + " renumbered; canceled: " +
                      (Comparison.Canceled.empty() ? "none" : NumberList(Comparison.Canceled)) +
                      ".\n\n";
    for (const TListingEntry& entry : ClaimListing(Comparison)) {
        out += entry.Label + ". (" + AmendmentStatusName(entry.Status) + ")";
        for (const TTextPiece& piece : entry.Text) {
            out += ' ';
            if (piece.Change == TTextChange::Inserted)
                out += "{+" + piece.Text + "+}";
            else if (piece.Change == TTextChange::Deleted)
                out += "[-" + piece.Text + "-]";
            else
                out += piece.Text;
        }
        out += '\n';
        if (entry.Claim < 0)
            continue;
        const TComparedClaim& claim = Comparison.Claims[static_cast<std::size_t>(entry.Claim)];
        std::vector<std::string> notes;
        if (claim.Moved())
            notes.push_back("was claim " + std::to_string(claim.From));
        if (!claim.MergedFrom.empty())
            notes.push_back("took in claim " + NumberList(claim.MergedFrom));
        if (!claim.ReferencesAdded.empty())
            notes.push_back("now refers to claim " + NumberList(claim.ReferencesAdded));
        if (!claim.ReferencesDropped.empty())
            notes.push_back("no longer to claim " + NumberList(claim.ReferencesDropped) +
                            " as numbered before");
        if (notes.empty())
            continue;
        out += "   (";
        for (std::size_t k = 0; k < notes.size(); ++k)
            out += (k ? "; " : "") + notes[k];
        out += ")\n";
    }
    return out;
}

std::string ClaimListingHtml(const TClaimComparison& Comparison, std::string_view Title) {
    const std::string title = HtmlEscaped(Title);
    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<title>Listing of claims";
    if (!title.empty())
        out += " - " + title;
    out += "</title>\n<style>\n"
           "body { font-family: serif; margin: 1.5em; max-width: 50em; }\n"
           "p.claim { line-height: 1.5; }\n"
           "</style>\n</head>\n<body>\n<h1>Listing of claims</h1>\n";
    if (!title.empty())
        out += "<p>" + title + "</p>\n";
    for (const TListingEntry& entry : ClaimListing(Comparison)) {
        out += "<p class=\"claim\">" + HtmlEscaped(entry.Label) + ". (" +
               AmendmentStatusName(entry.Status) + ")";
        for (const TTextPiece& piece : entry.Text) {
            const std::string text = HtmlEscaped(piece.Text);
            out += ' ';
            if (piece.Change == TTextChange::Inserted)
                out += "<u>" + text + "</u>";
            else if (piece.Change == TTextChange::Deleted)
                out += BracketedDeletion(piece.Text) ? "[[" + text + "]]" : "<s>" + text + "</s>";
            else
                out += text;
        }
        out += "</p>\n";
    }
    out += "</body>\n</html>\n";
    return out;
}
