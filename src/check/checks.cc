#include "check/checks.h"

#include "check/describe.h"

// The log texts are Windows-1252 bytes: "gel\xF6scht" is gelöscht,
// "hinzugef\xFCgt" is hinzugefügt.

namespace kw {

namespace {

bool PersonPresent(const InputSlot& s, int32_t number) { return s.persons[number].number != 0; }
bool FamilyPresent(const InputSlot& s, int32_t number) { return s.families[number].number != 0; }

// The sex as a text for "'%s'": nothing between the quotes when no SEX line
// was read, never a NUL byte.
struct SexText {
  explicit SexText(char sex) : text{sex, '\0'} {}
  char text[2];
};

// A family that no longer exists: persons that still name it drop the link.
// The family's own fields stay as they are.
int WithdrawDeletedFamily(Store& store, MergeLog& log, int slot, int f) {
  InputSlot& s = store.slots[slot];
  Family& family = s.families[f];
  int count = 0;
  int32_t h = family.husband;
  if (PersonPresent(s, h) && HasRef(s.persons[h].spouseFamilies, f)) {
    log.Write("\r\n### Fam %lld gel\xF6scht, aber referenziert durch ungel\xF6schten HUSB %lld ",
              LogFamilyNumber(s, f), LogPersonNumber(s, h));
    RemoveRef(s.persons[h].spouseFamilies, f);
    ++count;
  }
  int32_t w = family.wife;
  if (PersonPresent(s, w) && HasRef(s.persons[w].spouseFamilies, f)) {
    log.Write("\r\n### Fam %lld gel\xF6scht, aber referenziert durch ungel\xF6schte WIFE %lld ",
              LogFamilyNumber(s, f), LogPersonNumber(s, w));
    RemoveRef(s.persons[w].spouseFamilies, f);
    ++count;
  }
  for (int i = 0; i < family.children.count(); ++i) {
    int32_t k = family.children[i];
    if (PersonPresent(s, k) && HasRef(s.persons[k].parentFamilies, f)) {
      log.Write("\r\n### Fam %lld gel\xF6scht, aber referenziert durch ungel\xF6schtes CHIL %lld ",
                LogFamilyNumber(s, f), LogPersonNumber(s, k));
      RemoveRef(s.persons[k].parentFamilies, f);
      ++count;
    }
  }
  return count;
}

// The husband's sex and FAMS link. Returns false when the husband does not
// exist: the family then loses him and is examined no further.
bool CheckHusband(Store& store, MergeLog& log, int slot, int f, int& count) {
  InputSlot& s = store.slots[slot];
  Family& family = s.families[f];
  int32_t h = family.husband;
  if (h == family.wife)
    log.Write("\r\n### Fam %lld hat gleiche Person %lld als HUSB und WIFE ", LogFamilyNumber(s, f),
              LogPersonNumber(s, h));
  if (!PersonPresent(s, h)) {
    log.Write("\r\n### Fam %lld hat gel\xF6schten HUSB %lld ", LogFamilyNumber(s, f),
              LogPersonNumber(s, h));
    DescribeFamily(store, log, slot, f);
    family.husband = 0;
    return false;
  }
  Person& husband = s.persons[h];
  if (husband.sex != 'M') {
    log.Write("\r\n### Fam %lld hat HUSB %lld mit Sex '%s' ", LogFamilyNumber(s, f),
              LogPersonNumber(s, h), SexText(husband.sex).text);
    DescribeFamily(store, log, slot, f);
    husband.sex = 'M';
    ++count;
  }
  if (!HasRef(husband.spouseFamilies, f)) {
    log.Write("\r\n### HUSB %lld ohne FAMS %lld ", LogPersonNumber(s, h), LogFamilyNumber(s, f));
    DescribeFamily(store, log, slot, f);
    AddRef(husband.spouseFamilies, f);
    ++count;
  }
  return true;
}

// The wife's sex and FAMS link; a wrong sex is repaired but not counted.
// Returns false when the wife does not exist.
bool CheckWife(Store& store, MergeLog& log, int slot, int f, int& count) {
  InputSlot& s = store.slots[slot];
  Family& family = s.families[f];
  int32_t w = family.wife;
  if (!PersonPresent(s, w)) {
    log.Write("\r\n### Fam %lld hat gel\xF6schte WIFE %lld ", LogFamilyNumber(s, f),
              LogPersonNumber(s, w));
    DescribeFamily(store, log, slot, f);
    family.wife = 0;
    return false;
  }
  Person& wife = s.persons[w];
  if (wife.sex != 'F') {
    log.Write("\r\n### Fam %lld hat WIFE %lld mit Sex '%s' ", LogFamilyNumber(s, f),
              LogPersonNumber(s, w), SexText(wife.sex).text);
    DescribeFamily(store, log, slot, f);
    wife.sex = 'F';
  }
  if (!HasRef(wife.spouseFamilies, f)) {
    log.Write("\r\n### WIFE %lld ohne FAMS %lld ", LogPersonNumber(s, w), LogFamilyNumber(s, f));
    DescribeFamily(store, log, slot, f);
    AddRef(wife.spouseFamilies, f);
    ++count;
  }
  return true;
}

// Walks the children. After a removal the walk still moves on, so the child
// that moved into the freed position is not examined in this load; only
// duplicates standing next to each other are found.
int CheckChildren(Store& store, MergeLog& log, int slot, int f) {
  InputSlot& s = store.slots[slot];
  RefList& children = s.families[f].children;
  int count = 0;
  int32_t previous = 0;
  for (int i = 0; i < children.count(); ++i) {
    int32_t k = children[i];
    if (!PersonPresent(s, k)) {
      log.Write("\r\n### Fam %lld hat gel\xF6schtes CHIL %lld ", LogFamilyNumber(s, f),
                LogPersonNumber(s, k));
      DescribeFamily(store, log, slot, f);
      RemoveRef(children, k);
      ++count;
    } else if (!HasRef(s.persons[k].parentFamilies, f)) {
      log.Write("\r\n### Kind %lld ohne FAMC %lld ", LogPersonNumber(s, k), LogFamilyNumber(s, f));
      DescribeFamily(store, log, slot, f);
      AddRef(s.persons[k].parentFamilies, f);
      ++count;
    }
    if (previous != 0 && k == previous) {
      log.Write("\r\n### Fam %lld hat doppeltes CHIL %lld ", LogFamilyNumber(s, f),
                LogPersonNumber(s, k));
      DescribeFamily(store, log, slot, f);
      RemoveRef(children, k);
      ++count;
    }
    previous = k;
  }
  return count;
}

// A person that no longer exists: the present families it still names drop
// it, and it drops them.
int WithdrawDeletedPerson(Store& store, MergeLog& log, int slot, int p) {
  InputSlot& s = store.slots[slot];
  Person& person = s.persons[p];
  int count = 0;
  for (int i = 0; i < person.spouseFamilies.count(); ++i) {
    int32_t g = person.spouseFamilies[i];
    if (!FamilyPresent(s, g)) continue;
    log.Write("\n### Person %lld gel\xF6scht, aber FAMS %lld ungel\xF6scht", LogPersonNumber(s, p),
              LogFamilyNumber(s, g));
    DescribePerson(store, log, slot, p);
    Family& family = s.families[g];
    if (family.husband == p) {
      family.husband = 0;
    } else if (family.wife == p) {
      family.wife = 0;
    }
    RemoveRef(person.spouseFamilies, g);
    ++count;
  }
  for (int i = 0; i < person.parentFamilies.count(); ++i) {
    int32_t g = person.parentFamilies[i];
    if (!FamilyPresent(s, g)) continue;
    log.Write("\r\n### Person %lld gel\xF6scht, aber FAMC %lld ungel\xF6scht",
              LogPersonNumber(s, p), LogFamilyNumber(s, g));
    DescribePerson(store, log, slot, p);
    RemoveRef(s.families[g].children, p);
    RemoveRef(person.parentFamilies, g);
    ++count;
  }
  return count;
}

// The families the person is a partner in must name the person back; a
// wrong link is completed when the family has room for the person's sex,
// else dropped.
int CheckSpouseFamilies(Store& store, MergeLog& log, int slot, int p) {
  InputSlot& s = store.slots[slot];
  Person& person = s.persons[p];
  int count = 0;
  int32_t previous = 0;
  for (int i = 0; i < person.spouseFamilies.count(); ++i) {
    int32_t g = person.spouseFamilies[i];
    Family& family = s.families[g];
    if (!FamilyPresent(s, g)) {
      log.Write("\r\n### Person %lld hat gel\xF6schte FAMS %lld", LogPersonNumber(s, p),
                LogFamilyNumber(s, g));
      DescribePerson(store, log, slot, p);
      RemoveRef(person.spouseFamilies, g);
      ++count;
    } else if (family.husband != p && family.wife != p) {
      log.Write("\r\n### Person %lld hat falsche FAMS %lld ", LogPersonNumber(s, p),
                LogFamilyNumber(s, g));
      DescribePerson(store, log, slot, p);
      DescribeFamily(store, log, slot, g);
      if (person.sex == 'M' && family.husband == 0) {
        family.husband = p;
      } else if (person.sex == 'F' && family.wife == 0) {
        family.wife = p;
      } else {
        RemoveRef(person.spouseFamilies, g);
      }
      ++count;
    }
    if (previous != 0 && g == previous) {
      log.Write("\r\n### Person %lld hat doppelte FAMS %lld ", LogPersonNumber(s, p),
                LogFamilyNumber(s, g));
      RemoveRef(person.spouseFamilies, g);
      ++count;
    }
    previous = g;
  }
  return count;
}

// The families the person is a child of must list the child, and their
// parents must exist.
int CheckParentFamilies(Store& store, MergeLog& log, int slot, int p) {
  InputSlot& s = store.slots[slot];
  Person& person = s.persons[p];
  int count = 0;
  int32_t previous = 0;
  for (int i = 0; i < person.parentFamilies.count(); ++i) {
    int32_t g = person.parentFamilies[i];
    Family& family = s.families[g];
    int32_t father = family.husband;
    int32_t mother = family.wife;
    if (!FamilyPresent(s, g)) {
      log.Write("\r\n### Person %lld hat gel\xF6schte FAMC %lld", LogPersonNumber(s, p),
                LogFamilyNumber(s, g));
      DescribePerson(store, log, slot, p);
      RemoveRef(person.parentFamilies, g);
      RemoveRef(family.children, p);
      ++count;
      continue;  // an absent family is no candidate for a duplicate
    }
    if (!HasRef(family.children, p)) {
      log.Write("\r\n### Person %lld (FAMC %lld) als Kind hinzugef\xFCgt", LogPersonNumber(s, p),
                LogFamilyNumber(s, g));
      DescribePerson(store, log, slot, p);
      AddRef(family.children, p);
      ++count;
    }
    if (father != 0 && !PersonPresent(s, father)) {
      log.Write("\r\n### Person %lld hat gel\xF6schten Vater %lld ", LogPersonNumber(s, p),
                LogPersonNumber(s, father));
      DescribePerson(store, log, slot, p);
      family.husband = 0;
      RemoveRef(s.persons[father].spouseFamilies, g);
      ++count;
    }
    if (mother != 0 && !PersonPresent(s, mother)) {
      log.Write("\r\n### Person %lld hat gel\xF6schte Mutter %lld ", LogPersonNumber(s, p),
                LogPersonNumber(s, mother));
      DescribePerson(store, log, slot, p);
      family.wife = 0;
      RemoveRef(s.persons[mother].spouseFamilies, g);
      ++count;
    }
    if (previous != 0 && g == previous) {
      log.Write("\r\n### Person %lld hat doppelte FAMC %lld ", LogPersonNumber(s, p),
                LogFamilyNumber(s, g));
      DescribePerson(store, log, slot, p);
      RemoveRef(person.parentFamilies, g);
      ++count;
    }
    previous = g;
  }
  return count;
}

}  // namespace

int CheckPerson(Store& store, MergeLog& log, int slot, int p) {
  if (p < 1) return 0;
  InputSlot& s = store.slots[slot];
  Person& person = s.persons[p];
  if (person.number == 0) return WithdrawDeletedPerson(store, log, slot, p);

  if (person.surname == nullptr && person.givenNames == nullptr) {
    log.Write("\r\n### Person %lld hat keinen Namen", LogPersonNumber(s, p));
    // A nameless person who is only a child carries nothing worth keeping.
    if (person.spouseFamilies.count() == 0 && person.parentFamilies.count() != 0) {
      log.Write(" (deleted)", 1);
      person.number = 0;
      return 1;
    }
  }
  int count = CheckSpouseFamilies(store, log, slot, p);
  count += CheckParentFamilies(store, log, slot, p);
  return count;
}

int CheckFamily(Store& store, MergeLog& log, int slot, int f) {
  if (f < 1) return 0;
  InputSlot& s = store.slots[slot];
  Family& family = s.families[f];
  if (family.number == 0) return WithdrawDeletedFamily(store, log, slot, f);

  int count = 0;
  if (family.husband != 0 && !CheckHusband(store, log, slot, f, count)) return 0;
  if (family.wife != 0 && !CheckWife(store, log, slot, f, count)) return count;
  if (family.husband == 0 && family.wife == 0 && family.children.count() < 2) {
    log.Write("\r\n### Leere FAM %lld (gel\xF6scht)", LogFamilyNumber(s, f));
    family.number = 0;
    ++count;
  }
  return count + CheckChildren(store, log, slot, f);
}

int CheckSlot(Store& store, MergeLog& log, int slot) {
  InputSlot& s = store.slots[slot];
  int corrections = 0;
  for (int p = 0; p < s.personEnd; ++p) corrections += CheckPerson(store, log, slot, p);
  for (int f = 0; f < s.familyEnd; ++f) corrections += CheckFamily(store, log, slot, f);
  return corrections;
}

}  // namespace kw
