#include "ClaimComparison.h"

#include "ClaimTree.h"

const char* AmendmentStatusName(TAmendmentStatus Status) {
    switch (Status) {
    case TAmendmentStatus::Original:
        return "Original";
    case TAmendmentStatus::CurrentlyAmended:
        return "Currently Amended";
    case TAmendmentStatus::PreviouslyPresented:
        return "Previously Presented";
    case TAmendmentStatus::New:
        return "New";
    case TAmendmentStatus::Canceled:
        return "Canceled";
    case TAmendmentStatus::Withdrawn:
        return "Withdrawn";
    case TAmendmentStatus::NotEntered:
        return "Not Entered";
    }
    return "";
}

// A first comparison: every claim of B is new.
TClaimComparison CompareClaims(const TClaimTree& A, const TClaimTree& B) {
    TClaimComparison comparison;
    for (const TClaim& claim : B.Claims) {
        TComparedClaim compared;
        compared.Number = claim.Number;
        compared.Redline.push_back({TTextChange::Inserted, claim.Text});
        compared.Inserted.push_back(claim.Text);
        comparison.Claims.push_back(std::move(compared));
    }
    for (const TClaim& claim : A.Claims)
        comparison.Canceled.push_back(claim.Number);
    return comparison;
}
