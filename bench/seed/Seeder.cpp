#include "Seeder.h"

#include <QDateTime>
#include <QSet>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <QVariantList>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

#include "platform/db/Database.h"

namespace bench {

qint64 SeedReport::rowsFor(const QString& table) const {
    for (const auto& r : rows) {
        if (r.first == table) return r.second;
    }
    return 0;
}

qint64 SeedReport::totalRows() const {
    qint64 sum = 0;
    for (const auto& r : rows) sum += r.second;
    return sum;
}

namespace {

// ---------------------------------------------------------------------------------------------
// Randomness. The standard distributions differ between library implementations, so every draw
// is made here from the raw engine: the same seed gives the same database on any machine.
class Rng {
public:
    explicit Rng(quint64 seed) : m_engine(seed) {}

    int below(int n) { return static_cast<int>(m_engine() % static_cast<quint64>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    double unit() { return static_cast<double>(m_engine() >> 11) * 0x1.0p-53; }
    bool chance(double p) { return unit() < p; }
    const QString& pick(const QStringList& list) { return list.at(below(static_cast<int>(list.size()))); }
    // An index drawn by weights.
    int weighted(std::initializer_list<int> weights) {
        int r = below(std::accumulate(weights.begin(), weights.end(), 0));
        int i = 0;
        for (int w : weights) {
            if (r < w) return i;
            r -= w;
            ++i;
        }
        return i - 1;
    }

private:
    std::mt19937_64 m_engine;
};

QStringList words(std::initializer_list<const char*> list) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(list.size()));
    for (const char* w : list) out << QString::fromUtf8(w);
    return out;
}

// ---------------------------------------------------------------------------------------------
// Vocabulary: invented or generic words only.
// clang-format off
struct Vocabulary {
    const QStringList firstNames = words({
        "Aaron", "Abigail", "Adam", "Adele", "Adrian", "Agnes", "Alan", "Albert", "Alice", "Alma", "Amelia",
        "Andrea", "Andrew", "Angela", "Anna", "Annika", "Anton", "Arthur", "Audrey", "Barbara", "Beatrice",
        "Ben", "Bernard", "Bianca", "Boris", "Brenda", "Brian", "Bruno", "Caleb", "Camille", "Carl", "Carla",
        "Carmen", "Caroline", "Cecilia", "Charles", "Chloe", "Christine", "Clara", "Claude", "Colin", "Cora",
        "Daniel", "Daphne", "David", "Delia", "Dennis", "Diana", "Dominic", "Dora", "Douglas", "Edith",
        "Edgar", "Edward", "Elena", "Elias", "Elise", "Ella", "Emil", "Emily", "Emma", "Eric", "Erica",
        "Ernest", "Esther", "Eva", "Evelyn", "Felix", "Fiona", "Frank", "Freda", "Gabriel", "Gemma",
        "George", "Gerald", "Gina", "Gordon", "Grace", "Greta", "Gus", "Hannah", "Harold", "Harriet",
        "Hazel", "Hector", "Helen", "Henry", "Hilda", "Hugo", "Ian", "Ida", "Ingrid", "Irene", "Iris",
        "Isaac", "Ivan", "Ivy", "Jack", "Jacob", "Jane", "Janet", "Jasper", "Jean", "Joan", "Joel", "Jonas",
        "Joseph", "Judith", "Julia", "Julian", "June", "Karen", "Karl", "Kate", "Keith", "Laura", "Lena",
        "Leo", "Leon", "Lila", "Linda", "Lionel", "Lisa", "Louis", "Lucy", "Luke", "Lydia", "Mabel", "Marco",
        "Margaret", "Maria", "Marion", "Mark", "Martha", "Martin", "Maude", "Max", "Megan", "Miles", "Milo",
        "Miriam", "Nadia", "Nathan", "Neil", "Nina", "Noah", "Nora", "Oliver", "Olivia", "Oscar", "Otto",
        "Pamela", "Patrick", "Paul", "Paula", "Peter", "Philip", "Phoebe", "Quentin", "Rachel", "Ralph",
        "Rebecca", "Rita", "Robert", "Roland", "Rosa", "Ruth", "Sally", "Samuel", "Sara", "Simon", "Sofia",
        "Stella", "Stephen", "Susan", "Sylvia", "Teresa", "Theo", "Thomas", "Tobias", "Ursula", "Valerie",
        "Vera", "Victor", "Viola", "Walter", "Wanda", "Wesley", "Wilma", "Yvonne", "Zachary", "Zelda",
        "Émile", "Zoë", "Renée", "José", "Søren", "Agnès", "Jürgen", "Inès"});
    // Last names are composed: some thousand invented surnames from two parts.
    const QStringList surnameStarts = words({
        "Ash", "Bal", "Bel", "Bram", "Brock", "Cal", "Carr", "Cort", "Dal", "Den", "Drum", "Eld", "Elm",
        "Fair", "Fen", "Fern", "Gar", "Gil", "Glen", "Hal", "Hart", "Haw", "Hol", "Kel", "Kings", "Lang",
        "Lind", "Lock", "Mar", "Mel", "Mor", "Nor", "Oak", "Pem", "Pen", "Quin", "Ral", "Red", "Ros", "Rud",
        "Sel", "Shel", "Stan", "Stam", "Tal", "Thorn", "Tor", "Vern", "Wal", "War", "Wes", "Whit", "Win",
        "Wood", "Yar", "York", "Brandt", "Eck", "Falk", "Grun", "Holm", "Kirk", "Lund", "Mott", "Penn",
        "Ried", "Sand", "Stein", "Ulm", "Vos"});
    const QStringList surnameEnds = words({
        "berg", "bourne", "by", "combe", "croft", "dale", "den", "dorf", "feld", "field", "ford", "gate",
        "green", "ham", "hardt", "holt", "hurst", "ing", "ke", "land", "ley", "low", "mann", "mere", "more",
        "ner", "quist", "ridge", "rick", "sen", "shaw", "son", "stead", "stone", "ton", "vale", "ward",
        "well", "wick", "wood", "worth", "ström", "ert", "ell", "ington", "ers", "sby", "wright", "mont",
        "ay"});
    const QStringList prefixes = words({
        "Dr.", "Mr.", "Mrs.", "Ms.", "Prof.", "Rev."});
    const QStringList suffixes = words({
        "Jr.", "Sr.", "II", "III", "PhD", "MD"});
    const QStringList titles = words({
        "Account Manager", "Accountant", "Administrative Assistant", "Architect", "Attorney", "Buyer",
        "Chief Executive Officer", "Chief Financial Officer", "Consultant", "Controller", "Customer Service",
        "Designer", "Director", "Engineer", "Estimator", "Foreman", "General Manager", "Inspector",
        "IT Manager", "Marketing Manager", "Office Manager", "Owner", "Partner", "Plant Manager",
        "President", "Project Manager", "Purchasing Agent", "Sales Representative", "Secretary",
        "Superintendent", "Technician", "Vice President"});
    const QStringList groups = words({
        "Clients", "Colleagues", "Family", "Friends", "Partners", "Press", "Prospects", "Suppliers",
        "Vendors", "Volunteers"});
    const QStringList projectStatuses = words({
        "Active", "Cancelled", "Completed", "In Progress", "On Hold", "Proposed", "Waiting on Client"});
    const QStringList projectTypes = words({
        "Consulting", "Event", "Installation", "Internal", "Maintenance", "Marketing", "Research",
        "Service Contract", "Software", "Construction"});
    const QStringList contactFields = words({
        "Account No", "Anniversary", "Assistant", "Birthday", "Children", "Customer Since", "Credit Limit",
        "Department", "Discount", "Hobbies", "Language", "Nickname", "Preferred Contact", "Referred By",
        "Region", "Sales Rep", "Shirt Size", "Spouse", "Tax ID", "Terms"});
    const QStringList projectFields = words({
        "Approved By", "Client PO", "Contract No", "Cost Center", "Phase", "Priority", "Region", "Sponsor"});
    const QStringList companyHeads = words({
        "Amber", "Anchor", "Apex", "Arrow", "Aspen", "Bay", "Birch", "Black", "Blue", "Bright", "Cedar",
        "Clear", "Cobalt", "Copper", "Coral", "Crest", "Crown", "Eagle", "East", "Elm", "Fox", "Frost",
        "Gold", "Granite", "Green", "Grey", "Harbor", "Hawk", "High", "Iron", "Lake", "Lark", "Maple",
        "Meadow", "Mill", "North", "Oak", "Orchard", "Pine", "Prairie", "Quarry", "Red", "River", "Rock",
        "Sage", "Silver", "South", "Star", "Stone", "Summit", "Sun", "Timber", "Valley", "West", "White",
        "Willow"});
    const QStringList companyTails = words({
        "bank", "bridge", "brook", "crest", "dale", "field", "ford", "gate", "haven", "hill", "land", "line",
        "mark", "mont", "point", "port", "ridge", "shore", "side", "stone", "vale", "view", "water", "wood",
        "works"});
    const QStringList industries = words({
        "Accounting", "Analytics", "Architects", "Auto Parts", "Bakery", "Builders", "Catering", "Cleaning",
        "Consulting", "Dental", "Design", "Electric", "Engineering", "Farms", "Foods", "Freight",
        "Furniture", "Graphics", "Hardware", "Health", "Insurance", "Interiors", "Landscaping", "Legal",
        "Logistics", "Machining", "Marine", "Media", "Medical", "Metals", "Motors", "Office Supply",
        "Optical", "Packaging", "Paper", "Plumbing", "Printing", "Properties", "Realty", "Roofing",
        "Security", "Software", "Supply", "Systems", "Textiles", "Tools", "Travel", "Veterinary"});
    const QStringList companyForms = words({
        "Inc.", "Ltd.", "LLC", "Co.", "Corp.", "Group", "Partners", "& Sons", "Associates", ""});
    const QStringList streets = words({
        "Oak", "Maple", "Cedar", "Elm", "Pine", "Birch", "Walnut", "Chestnut", "Willow", "Spruce", "Mill",
        "Church", "Park", "Lake", "Hill", "River", "Spring", "Meadow", "Forest", "Valley", "Orchard",
        "Garden", "Station", "Market", "Bridge", "School", "Harbor", "Highland", "Sunset", "Ridge", "Front",
        "Second", "Third", "Fourth", "Fifth", "Union", "Franklin", "Liberty", "Center", "Prospect", "Cherry",
        "Laurel", "Hickory", "Juniper", "Aspen", "Quarry", "Canal", "Dock", "Depot", "Summit"});
    const QStringList streetTypes = words({
        "Street", "Avenue", "Road", "Lane", "Drive", "Court", "Way", "Place", "Boulevard", "Terrace",
        "Circle", "Parkway"});
    const QStringList cities = words({
        "Ashby", "Bayview", "Bellmont", "Brookfield", "Cedar Falls", "Clearwater", "Crestwood", "Deer Park",
        "Eastfield", "Elmwood", "Fairview", "Fox Hollow", "Glendale", "Granite Springs", "Greenville",
        "Harbor City", "Hillcrest", "Kingsbridge", "Lakeside", "Linden", "Maple Grove", "Meadowbrook",
        "Midvale", "Millbrook", "Northgate", "Oakdale", "Old Mill", "Pine Bluff", "Pleasant Hill",
        "Ridgefield", "Riverton", "Rockport", "Silver Lake", "Southport", "Springdale", "Stonebridge",
        "Summerville", "Sunnyvale", "Timberline", "Valley Forge", "Westbrook", "Westfield", "Willow Creek",
        "Woodhaven"});
    const QStringList states = words({
        "AL", "AK", "AZ", "AR", "CA", "CO", "CT", "DE", "FL", "GA", "HI", "ID", "IL", "IN", "IA", "KS", "KY",
        "LA", "ME", "MD", "MA", "MI", "MN", "MS", "MO", "MT", "NE", "NV", "NH", "NJ", "NM", "NY", "NC", "ND",
        "OH", "OK", "OR", "PA", "RI", "SC", "SD", "TN", "TX", "UT", "VT", "VA", "WA", "WV", "WI", "WY"});
    const QStringList countries = words({
        "Canada", "Mexico", "United Kingdom", "Ireland", "Germany"});
    const QStringList mailDomains = words({
        "mail.example.com", "post.example.net", "inbox.example.org", "example.com", "home.example.net"});
    const QStringList verbs = words({
        "Call about", "Call back about", "Check on", "Confirm", "Discuss", "Draft", "Email", "Fax", "File",
        "Finalize", "Follow up on", "Invoice", "Mail", "Order", "Pay", "Prepare", "Print", "Renew",
        "Reschedule", "Review", "Revise", "Schedule", "Send", "Sign", "Update", "Verify", "Ask about",
        "Pick up", "Drop off", "Approve"});
    const QStringList objects = words({
        "the quote", "the contract", "the invoice", "the estimate", "the proposal", "the agenda",
        "the budget", "the samples", "the catalog", "the price list", "the order", "the shipment",
        "the drawings", "the permit", "the warranty claim", "the renewal", "the meeting notes", "the report",
        "the brochure", "the insurance papers", "the deposit", "the tax forms", "the references",
        "the schedule", "the floor plan", "the inventory count", "the presentation", "the survey results",
        "the service agreement", "the purchase order", "the credit memo", "the delivery date",
        "the site photos", "the data sheet", "the photo proofs", "the lease", "the payroll file",
        "the training plan", "the product demo", "the thank-you letter"});
    const QStringList apptSubjects = words({
        "Meeting", "Lunch", "Breakfast meeting", "Site visit", "Conference call", "Review", "Presentation",
        "Interview", "Training", "Inspection", "Demo", "Planning session", "Dentist", "Doctor",
        "Board meeting", "Walk-through", "Kick-off", "Trade show", "Workshop", "Dinner"});
    const QStringList sentences = words({
        "Wants a revised price before the end of the month.", "Prefers to be called in the morning.",
        "Asked for the updated catalog to be mailed.", "Payment is expected within thirty days.",
        "Will be out of the office next week.", "Interested in the extended service plan.",
        "Needs two more copies of the signed agreement.", "The shipment arrived with one box damaged.",
        "Mentioned a possible referral from a neighbor.", "Budget approval is still pending.",
        "Confirmed the delivery address.", "Requested a site visit before signing.",
        "Happy with the last order.", "Questions about the warranty terms.",
        "Send the invoice to the accounts office, not the shop.", "Parking is behind the building.",
        "Meeting moved to the conference room on the second floor.", "Bring the samples and the price list.",
        "Asked to be removed from the newsletter.", "Will decide after talking to the partners.",
        "Left a voice message.", "No answer; try again tomorrow.", "Agreed on the new schedule.",
        "Wants a discount for a larger order.", "Old account number is still on file.",
        "Switching suppliers at the end of the quarter.", "Keep the original receipts.",
        "Call before five o'clock.", "Contract renews automatically every year.",
        "Send a reminder one week ahead.", "The gate code changed.", "Asked about weekend hours.",
        "Needs the paperwork signed by Friday.", "Likes detailed written quotes.",
        "Recommended by a long-time client.", "Second request for the missing parts.",
        "Will pick up the order in person.", "Offered to host the next meeting.",
        "Sent the photos by e-mail.", "Copy the office manager on all letters."});
    const QStringList linkMemos = words({
        "Spouse", "Business partner", "Assistant", "Referred by", "Works with", "Accountant", "Attorney",
        "Brother", "Sister", "Former colleague", "Neighbor", "Billing contact"});
    const QStringList projectHeads = words({
        "Annual", "Autumn", "Central", "Downtown", "East Wing", "Harbor", "Headquarters", "Lakeside",
        "Main Street", "North", "Riverside", "Spring", "Summer", "Warehouse", "West Side", "Winter",
        "Regional", "Customer", "Online", "Community"});
    const QStringList projectBodies = words({
        "Office Move", "Website Redesign", "Catalog", "Trade Show", "Renovation", "Fund Drive",
        "Roof Repair", "Inventory Audit", "Network Upgrade", "Product Launch", "Training Program",
        "Open House", "Parking Lot", "Newsletter", "Price Review", "Safety Inspection", "Fleet Replacement",
        "Mailing", "Expansion", "Survey", "Kitchen Remodel", "Landscaping", "Sales Campaign",
        "Database Cleanup", "Grant Application"});
    const QStringList intervals = words({
        "5 Min", "10 Min", "15 Min", "20 Min", "30 Min", "1 Hr", "2 Hr", "3 Hr", "6 Hr", "12 Hr", "1 Day",
        "2 Days", "3 Days", "1 Week", "2 Weeks"});
    // The lead time of each interval, in minutes, in the order above.
    const std::vector<int> intervalMinutes = {5, 10, 15, 20, 30, 60, 120, 180, 360, 720,
                                              1440, 2880, 4320, 10080, 20160};
    // clang-format on
};

// ---------------------------------------------------------------------------------------------
// Writing: one prepared INSERT per table, committed every kRowsPerTransaction rows.
struct Table {
    QString name;
    QString sql;
    qint64 rows = 0;
};

class Writer {
public:
    explicit Writer(db::Database& database) : m_db(database) {}

    Table& table(const QString& name, const QString& columns) {
        const int n = static_cast<int>(columns.count(QLatin1Char(',')) + 1);
        QStringList marks;
        for (int i = 0; i < n; ++i) marks << QStringLiteral("?");
        m_tables.push_back(std::make_unique<Table>(Table{
            name, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(name, columns, marks.join(", "))}));
        return *m_tables.back();
    }

    // Returns the new row's rowid (the AutoNumber, where the table has one).
    qint64 insert(Table& t, const QVariantList& values) {
        if (!m_trans) m_trans.emplace(m_db);
        m_db.Execute(t.sql, values);
        ++t.rows;
        const qint64 id = m_db.LastInsertRowid();
        if (++m_pending >= kRowsPerTransaction) commit();
        return id;
    }

    void commit() {
        if (m_trans) m_trans->commit();
        m_trans.reset();
        m_pending = 0;
    }

    QList<QPair<QString, qint64>> counts() const {
        QList<QPair<QString, qint64>> out;
        for (const auto& t : m_tables) out << qMakePair(t->name, t->rows);
        return out;
    }

private:
    db::Database& m_db;
    std::optional<db::Transaction> m_trans;
    int m_pending = 0;
    std::vector<std::unique_ptr<Table>> m_tables;
};

QVariant text(const QString& s) {
    return s.isEmpty() ? QVariant() : QVariant(s);
}

// Joins parts given in a braced list: unlike the operands of +, its elements are evaluated in order,
// which keeps the random draws in a fixed sequence.
QString cat(std::initializer_list<QString> parts) {
    QString out;
    for (const QString& p : parts) out += p;
    return out;
}

// Letters and digits of a name as they can stand in an e-mail address.
QString mailPart(const QString& s) {
    QString out;
    for (const QChar c : s.normalized(QString::NormalizationForm_D)) {
        if (c.unicode() < 128 && c.isLetterOrNumber()) out += c.toLower();
    }
    return out;
}

struct Contact {
    bool person = true;
    QString shownName;
    QString fullName;
    QString first;
    QString last;
    QString company;
};

// ---------------------------------------------------------------------------------------------
class Seeder {
public:
    Seeder(db::Database& database, const SeedOptions& options)
        : m_opt(options), m_rng(options.seed), m_out(database) {
        m_lookup = &m_out.table("Lookup", "ItemID, Description");
        m_contacts =
            &m_out.table("Contacts",
                         "ContID, CTYPE, Setting, FullName, ShownName, Prefix, FName, Middle, LName, "
                         "Suffix, CompName, [Group], JobTitle");
        m_phone = &m_out.table("CPhone", "fkContID, fkLookup, PhoneNum");
        m_email = &m_out.table("CEMail", "fkContID, fkLookup, Email");
        m_address = &m_out.table("CAddress", "fkContID, fkLookup, Street, City, State, Zip, Country");
        m_comments = &m_out.table("CComments", "fkContID, Comments");
        m_cFields = &m_out.table("CUserFields", "Description");
        m_cValues = &m_out.table("CUFldValues", "fkContID, fkUserFld, Value");
        m_relateCont = &m_out.table("RelateCont", "MasterContID, SubContID, LinkMemo, SubContShowName");
        m_projects =
            &m_out.table("Projects", "ProjID, PName, Status, PrjType, StartDate, EndDate, Budget, Setting");
        m_pComments = &m_out.table("PComments", "fkProjID, Comments");
        m_pFields = &m_out.table("PUserFields", "Description");
        m_pValues = &m_out.table("PUFldValues", "fkProjID, fkUserFld, Value");
        m_relateProject = &m_out.table("RelateProject", "fkProjID, fkContID, ContShowName");
        m_todo =
            &m_out.table("ToDo",
                         "Subject, TextBody, DueDate, DueTime, fkContID, fkProjID, Remind, RemAmt, Private, "
                         "Urgent, Completed");
        m_attach = &m_out.table("Attach", "TextBody, NType, fkContID, fkProjID, Fav, Priv, DateStamp");
        m_appts = &m_out.table("Appts",
                               "Subject, TextBody, DateFrom, DateTo, TimeFrom, TimeTo, fkContID, fkProjID, "
                               "Remind, RemAmt, Private, NoTime, AllDay");
        m_remind = &m_out.table("Remind", "RemDate, RemTime, fkToDoID, fkApptID, Type, Completed");

        m_first = m_opt.today.addYears(-4);
        m_last = m_opt.today.addYears(1);
        const int n = m_opt.contacts;
        m_busy = (n + 1) / 2;
        m_busyTarget = std::min(1000, m_opt.items / 20);
        m_busyProjectTarget = m_busyTarget;
        // Visits the contacts in a scattered order, so that the busier ones are not neighbours.
        m_stride = 7919;
        while (std::gcd(m_stride, n) != 1) ++m_stride;
    }

    SeedReport run() {
        writeLookups();
        writeUserFields();
        writeContacts();
        writeLinks();
        writeProjects();
        writeToDos();
        writeNotes();
        writeAppointments();
        m_out.commit();

        SeedReport report;
        report.rows = m_out.counts();
        if (m_opt.items > 0) {
            report.busyContact = m_busy;
            report.busyContactItems = m_busyItems;
            report.busyProject = m_busyProject;
            report.busyProjectItems = m_busyProjectItems;
        }
        return report;
    }

private:
    // --- pick lists and user fields --------------------------------------------------------------
    void writeLookups() {
        const std::pair<const char*, const QStringList*> lists[] = {
            {"GRP", &m_v.groups},   {"PRE", &m_v.prefixes},          {"SUFF", &m_v.suffixes},
            {"TITLE", &m_v.titles}, {"PSTAT", &m_v.projectStatuses}, {"PTYPE", &m_v.projectTypes},
        };
        for (const auto& [kind, items] : lists) {
            for (const QString& item : *items) m_out.insert(*m_lookup, {QString::fromLatin1(kind), item});
        }
    }

    void writeUserFields() {
        for (const QString& f : m_v.contactFields) m_out.insert(*m_cFields, {f});
        if (m_opt.contacts > 0) {
            for (int i = 1; i <= kBusyValues - static_cast<int>(m_v.contactFields.size()); ++i)
                m_out.insert(*m_cFields, {extraField(i)});
        }
        for (const QString& f : m_v.projectFields) m_out.insert(*m_pFields, {f});
    }

    QString fieldValue(const QString& field) {
        if (field.contains(QLatin1String("Birthday")) || field.contains(QLatin1String("Anniversary")) ||
            field.contains(QLatin1String("Since"))) {
            return QDate{m_rng.between(1950, 2024), m_rng.between(1, 12), m_rng.between(1, 28)}.toString(
                QStringLiteral("MM/dd/yyyy"));
        }
        if (field == QLatin1String("Spouse") || field == QLatin1String("Assistant") ||
            field == QLatin1String("Referred By") || field == QLatin1String("Sales Rep") ||
            field == QLatin1String("Approved By") || field == QLatin1String("Sponsor")) {
            return cat({m_rng.pick(m_v.firstNames), QStringLiteral(" "), surname()});
        }
        if (field == QLatin1String("Region")) return m_rng.pick(m_v.states);
        if (field == QLatin1String("Priority")) return QString::number(m_rng.between(1, 5));
        if (field == QLatin1String("Terms"))
            return m_rng.chance(0.7) ? QStringLiteral("Net 30") : QStringLiteral("COD");
        if (field == QLatin1String("Children")) return QString::number(m_rng.between(0, 4));
        if (field == QLatin1String("Discount"))
            return QString::number(m_rng.between(1, 20)) + QLatin1Char('%');
        return QStringLiteral("%1-%2").arg(field.left(1).toUpper()).arg(m_rng.between(10000, 99999));
    }

    // --- names -------------------------------------------------------------------------------------
    QString surname() {
        QString s = cat({m_rng.pick(m_v.surnameStarts), m_rng.pick(m_v.surnameEnds)});
        if (m_rng.chance(0.02))
            s += cat({QStringLiteral("-"), m_rng.pick(m_v.surnameStarts), m_rng.pick(m_v.surnameEnds)});
        return s;
    }

    QString companyName() {
        switch (m_rng.weighted({55, 25, 20})) {
            case 0: {
                const QString name = cat({m_rng.pick(m_v.companyHeads), m_rng.pick(m_v.companyTails),
                                          QStringLiteral(" "), m_rng.pick(m_v.industries)});
                const QString& form = m_rng.pick(m_v.companyForms);
                return form.isEmpty() ? name : name + QLatin1Char(' ') + form;
            }
            case 1:
                return cat({surname(), QStringLiteral(" & "), surname(), QStringLiteral(" "),
                            m_rng.pick(m_v.companyForms)})
                    .trimmed();
            default:
                return cat({m_rng.pick(m_v.companyHeads), QStringLiteral(" "), m_rng.pick(m_v.industries)});
        }
    }

    QString setting() {
        const double r = m_rng.unit();
        if (r < 0.02) return QStringLiteral("Hidden");
        if (r < 0.03) return QStringLiteral("Private");
        return QStringLiteral("Default");
    }

    // --- contacts ----------------------------------------------------------------------------------
    void writeContacts() {
        m_people.reserve(static_cast<size_t>(m_opt.contacts));
        QSet<QString> shown;
        shown.reserve(m_opt.contacts);
        std::vector<QString> companies;
        for (int id = 1; id <= m_opt.contacts; ++id) {
            const bool busy = id == m_busy;
            Contact c;
            c.person = busy || m_rng.chance(0.8);
            QVariant prefix, middle, suffix, title, fName, lName;
            if (c.person) {
                QString mid;
                // A few tries for a new name: shown names repeat now and then, as in real lists.
                for (int attempt = 0; attempt < 4; ++attempt) {
                    c.first = m_rng.pick(m_v.firstNames);
                    c.last = surname();
                    const int m = m_rng.weighted({72, 20, 8});
                    mid = m == 1   ? m_rng.pick(m_v.firstNames)
                          : m == 2 ? m_rng.pick(m_v.firstNames).left(1) + QLatin1Char('.')
                                   : QString();
                    c.shownName = c.last + QStringLiteral(", ") + c.first;
                    if (!mid.isEmpty()) c.shownName += QLatin1Char(' ') + mid;
                    if (!shown.contains(c.shownName)) break;
                }
                const QString pre = m_rng.chance(0.12) ? m_rng.pick(m_v.prefixes) : QString();
                const QString suf = m_rng.chance(0.04) ? m_rng.pick(m_v.suffixes) : QString();
                QStringList full;
                if (!pre.isEmpty()) full << pre;
                full << c.first;
                if (!mid.isEmpty()) full << mid;
                full << c.last;
                if (!suf.isEmpty()) full << suf;
                c.fullName = full.join(QLatin1Char(' '));
                prefix = text(pre);
                middle = text(mid);
                suffix = text(suf);
                fName = c.first;
                lName = c.last;
                if (m_rng.chance(0.35)) {
                    c.company = companies.empty() || m_rng.chance(0.1)
                                    ? companyName()
                                    : companies[m_rng.below(static_cast<int>(companies.size()))];
                }
                if (m_rng.chance(0.65)) title = m_rng.pick(m_v.titles);
            } else {
                for (int attempt = 0; attempt < 4; ++attempt) {
                    c.company = companyName();
                    if (!shown.contains(c.company)) break;
                }
                c.shownName = c.company;
                companies.push_back(c.company);
            }
            shown.insert(c.shownName);

            m_out.insert(*m_contacts,
                         {id, c.person ? QStringLiteral("I") : QStringLiteral("C"),
                          busy ? QStringLiteral("Default") : setting(), text(c.fullName), c.shownName, prefix,
                          fName, middle, lName, suffix, text(c.company), groupText(), title});
            writePhones(id, c);
            writeEmails(id, c);
            writeAddresses(id, c);
            if (m_rng.chance(0.3)) m_out.insert(*m_comments, {id, paragraph(1, 5)});
            writeContactValues(id);
            m_people.push_back(std::move(c));
        }
    }

    QVariant groupText() {
        if (!m_rng.chance(0.45)) return {};
        const int count = 1 + m_rng.weighted({70, 25, 5});
        QStringList chosen;
        while (chosen.size() < count) {
            const QString& g = m_rng.pick(m_v.groups);
            if (!chosen.contains(g)) chosen << g;
        }
        chosen.sort();  // the group list is sorted, and the text follows its order
        return chosen.join(QLatin1Char(','));
    }

    // Distinct kinds, the likelier first in `kinds`.
    QStringList kindsFor(int count, const QStringList& kinds, std::initializer_list<int> weights) {
        QStringList chosen;
        while (chosen.size() < count) {
            const QString& k = kinds.at(m_rng.weighted(weights));
            if (!chosen.contains(k)) chosen << k;
        }
        return chosen;
    }

    QString phoneNumber() {
        const int area = m_rng.between(201, 989);
        const int line = m_rng.between(100, 9999);
        switch (m_rng.weighted({70, 20, 10})) {
            case 0:
                return QStringLiteral("(%1) 555-%2").arg(area).arg(line, 4, 10, QLatin1Char('0'));
            case 1:
                return QStringLiteral("%1-555-%2").arg(area).arg(line, 4, 10, QLatin1Char('0'));
            default:
                return QStringLiteral("%1.555.%2 x%3")
                    .arg(area)
                    .arg(line, 4, 10, QLatin1Char('0'))
                    .arg(m_rng.between(10, 999));
        }
    }

    void writePhones(int id, const Contact& c) {
        static const QStringList kinds = words({"Home", "Work", "Mobile", "Other", "Fax"});
        const int count = 1 + m_rng.weighted({45, 35, 20});
        const QStringList chosen = c.person ? kindsFor(count, kinds, {30, 30, 30, 6, 4})
                                            : kindsFor(count, kinds, {3, 50, 7, 15, 25});
        for (const QString& kind : chosen) m_out.insert(*m_phone, {id, kind, phoneNumber()});
    }

    QString companyDomain(const QString& company) {
        const QString word = mailPart(company.section(QLatin1Char(' '), 0, 0));
        return (word.isEmpty() ? QStringLiteral("office") : word) + QStringLiteral(".example.com");
    }

    void writeEmails(int id, const Contact& c) {
        static const QStringList kinds = words({"Personal", "Work", "Other"});
        const int count = m_rng.weighted({25, 50, 25});
        if (count == 0) return;
        const QStringList chosen =
            c.person ? kindsFor(count, kinds, {55, 35, 10}) : kindsFor(count, kinds, {5, 70, 25});
        for (const QString& kind : chosen) {
            QString local;
            QString domain;
            if (!c.person) {
                local = kind == QLatin1String("Work") ? QStringLiteral("info") : QStringLiteral("sales");
                domain = companyDomain(c.company);
            } else if (kind == QLatin1String("Work")) {
                local = mailPart(c.first.left(1)) + mailPart(c.last);
                domain = c.company.isEmpty() ? QStringLiteral("work.example.com") : companyDomain(c.company);
            } else {
                local = mailPart(c.first) + QLatin1Char('.') + mailPart(c.last);
                if (m_rng.chance(0.3)) local += QString::number(m_rng.between(1, 99));
                domain = m_rng.pick(m_v.mailDomains);
            }
            // The e-mail box takes 50 characters.
            local = local.left(49 - static_cast<int>(domain.size()));
            m_out.insert(*m_email, {id, kind, local + QLatin1Char('@') + domain});
        }
    }

    void writeAddresses(int id, const Contact& c) {
        static const QStringList kinds = words({"Home", "Work", "Bill To", "Ship To"});
        const int count = m_rng.weighted({30, 50, 20});
        if (count == 0) return;
        const QStringList chosen =
            c.person ? kindsFor(count, kinds, {60, 30, 5, 5}) : kindsFor(count, kinds, {2, 50, 28, 20});
        for (const QString& kind : chosen) {
            QString street = cat({QString::number(m_rng.between(1, 9999)), QStringLiteral(" "),
                                  m_rng.pick(m_v.streets), QStringLiteral(" "), m_rng.pick(m_v.streetTypes)});
            if (m_rng.chance(0.1)) street += QStringLiteral(", Suite %1").arg(m_rng.between(100, 999));
            QString zip = QStringLiteral("%1").arg(m_rng.between(1001, 99950), 5, 10, QLatin1Char('0'));
            if (m_rng.chance(0.1)) zip += QStringLiteral("-%1").arg(m_rng.between(1000, 9999));
            const int country = m_rng.weighted({70, 10, 20});
            m_out.insert(*m_address, {id, kind, street, m_rng.pick(m_v.cities), m_rng.pick(m_v.states), zip,
                                      country == 0   ? QVariant(QStringLiteral("USA"))
                                      : country == 1 ? QVariant(m_rng.pick(m_v.countries))
                                                     : QVariant()});
        }
    }

    void writeContactValues(int id) {
        // The busy contact's values are its own (writeBusyValues); its draws are made all the same, so
        // that the rest of the data stays as it was.
        const bool busy = id == m_busy;
        if (m_rng.chance(0.4)) {
            const int count = 1 + m_rng.weighted({60, 30, 10});
            QStringList chosen;
            while (chosen.size() < count) {
                const QString& f = m_rng.pick(m_v.contactFields);
                if (!chosen.contains(f)) chosen << f;
            }
            for (const QString& f : chosen) {
                const QString value = fieldValue(f);
                if (!busy) m_out.insert(*m_cValues, {id, f, value});
            }
        }
        if (busy) writeBusyValues(id);
    }

    // The fields beyond the vocabulary that the busy contact fills.
    static QString extraField(int i) {
        return QStringLiteral("Extra Field %1").arg(i, 2, 10, QLatin1Char('0'));
    }

    // A value for every contact field and then some, enough for its printed report to run onto a
    // second page: fixed texts, drawn from no random stream.
    void writeBusyValues(int id) {
        const int vocabulary = static_cast<int>(m_v.contactFields.size());
        for (int i = 0; i < kBusyValues; ++i) {
            const QString field = i < vocabulary ? m_v.contactFields.at(i) : extraField(i - vocabulary + 1);
            m_out.insert(
                *m_cValues,
                {id, field, QStringLiteral("%1-%2").arg(field.left(1).toUpper()).arg(10000 + 379 * i)});
        }
    }

    // Sentences joined into a text, now and then in paragraphs (stored line breaks are CR LF).
    QString paragraph(int minSentences, int maxSentences) {
        const int n = m_rng.between(minSentences, maxSentences);
        QString out;
        for (int i = 0; i < n; ++i) {
            if (i > 0) out += m_rng.chance(0.2) ? QStringLiteral("\r\n") : QStringLiteral(" ");
            out += m_rng.pick(m_v.sentences);
        }
        return out;
    }

    // --- linked contacts -------------------------------------------------------------------------
    void writeLinks() {
        const int n = m_opt.contacts;
        if (n < 2) return;
        QSet<int> busyLinked;
        for (int master = 1; master <= n; ++master) {
            if (!m_rng.chance(0.05)) continue;
            int sub = m_rng.between(1, n - 1);
            if (sub >= master) ++sub;
            const Contact& s = m_people[static_cast<size_t>(sub - 1)];
            const QVariant memo = m_rng.chance(0.5) ? QVariant(m_rng.pick(m_v.linkMemos)) : QVariant();
            // As the link dialog writes them: the link names a person by the full name, the link back
            // carries the fixed memo and the master's shown name.
            m_out.insert(*m_relateCont, {master, sub, memo, s.person ? s.fullName : s.shownName});
            m_out.insert(*m_relateCont, {sub, master, QStringLiteral("Master Contact Entry"),
                                         m_people[static_cast<size_t>(master - 1)].shownName});
            if (master == m_busy) busyLinked.insert(sub);
            if (sub == m_busy) busyLinked.insert(master);
        }
        // The busy contact links to contacts spread over the whole list, drawn from no random stream,
        // until it has its number of them.
        const int busyLinks = std::min(kBusyLinks, n - 1);
        for (int k = 1; static_cast<int>(busyLinked.size()) < busyLinks; ++k) {
            const int sub =
                static_cast<int>((static_cast<qint64>(m_busy - 1) + static_cast<qint64>(k) * m_stride) % n) +
                1;
            if (sub == m_busy || busyLinked.contains(sub)) continue;
            busyLinked.insert(sub);
            const Contact& s = m_people[static_cast<size_t>(sub - 1)];
            const QVariant memo =
                k % 3 == 0 ? QVariant() : QVariant(m_v.linkMemos.at(k % m_v.linkMemos.size()));
            m_out.insert(*m_relateCont, {m_busy, sub, memo, s.person ? s.fullName : s.shownName});
            m_out.insert(*m_relateCont, {sub, m_busy, QStringLiteral("Master Contact Entry"),
                                         m_people[static_cast<size_t>(m_busy - 1)].shownName});
        }
    }

    // --- projects ------------------------------------------------------------------------------
    QDate dayIn(const QDate& from, const QDate& to) {
        return from.addDays(m_rng.below(static_cast<int>(from.daysTo(to)) + 1));
    }

    QVariant lookupOrBlank(const QStringList& items) {
        const int r = m_rng.weighted({85, 5, 10});
        if (r == 0) return m_rng.pick(items);
        if (r == 1) return QStringLiteral(" ");
        return {};
    }

    QString budget() {
        const int amount = m_rng.between(5, 2000) * 100;
        switch (m_rng.weighted({50, 35, 10, 5})) {
            case 0:
                if (amount < 1000) return QStringLiteral("$%1").arg(amount);
                return QStringLiteral("$%1,%2")
                    .arg(amount / 1000)
                    .arg(amount % 1000, 3, 10, QLatin1Char('0'));
            case 1:
                return QString::number(amount);
            case 2:
                return QStringLiteral("$%1K").arg(amount / 1000);
            default:
                return QStringLiteral("TBD");
        }
    }

    void writeProjects() {
        const int count = m_opt.contacts > 0 ? std::max(1, m_opt.contacts / 50) : 0;
        QSet<QString> names;
        m_projectContacts.resize(static_cast<size_t>(count));
        m_busyProject = (count + 1) / 2;
        for (int id = 1; id <= count; ++id) {
            QString name;
            for (int attempt = 0; attempt < 4; ++attempt) {
                name =
                    cat({m_rng.pick(m_v.projectHeads), QStringLiteral(" "), m_rng.pick(m_v.projectBodies)});
                if (m_rng.chance(0.4))
                    name += QLatin1Char(' ') + QString::number(m_opt.today.year() - m_rng.below(5));
                if (!names.contains(name)) break;
            }
            names.insert(name);
            const QDate start = dayIn(m_first, m_opt.today.addMonths(6));
            const bool hasStart = m_rng.chance(0.9);
            const bool hasEnd = hasStart && m_rng.chance(0.75);
            m_out.insert(*m_projects,
                         {id, name, lookupOrBlank(m_v.projectStatuses), lookupOrBlank(m_v.projectTypes),
                          hasStart ? QVariant(start) : QVariant(),
                          hasEnd ? QVariant(start.addDays(m_rng.between(14, 400))) : QVariant(),
                          m_rng.chance(0.7) ? QVariant(budget()) : QVariant(),
                          id == m_busyProject ? QStringLiteral("Default") : setting()});
            if (m_rng.chance(0.4)) m_out.insert(*m_pComments, {id, paragraph(1, 6)});
            if (m_rng.chance(0.5)) {
                const int fields = 1 + m_rng.weighted({50, 35, 15});
                QStringList chosen;
                while (chosen.size() < fields) {
                    const QString& f = m_rng.pick(m_v.projectFields);
                    if (!chosen.contains(f)) chosen << f;
                }
                for (const QString& f : chosen) m_out.insert(*m_pValues, {id, f, fieldValue(f)});
            }
            const int links = std::min(m_rng.between(1, 5), m_opt.contacts);
            std::vector<int>& linked = m_projectContacts[static_cast<size_t>(id - 1)];
            while (static_cast<int>(linked.size()) < links) {
                const int cont = m_rng.between(1, m_opt.contacts);
                if (std::find(linked.begin(), linked.end(), cont) != linked.end()) continue;
                linked.push_back(cont);
                m_out.insert(*m_relateProject, {id, cont, m_people[static_cast<size_t>(cont - 1)].shownName});
            }
        }
    }

    // --- items ---------------------------------------------------------------------------------
    struct Link {
        QVariant contact;  // null: none
        QVariant project;
    };

    // Most items belong to a contact, some busier than others; some to a project (often with one of
    // its contacts); a few to nothing.
    Link link() {
        Link l;
        const int n = m_opt.contacts;
        if (n == 0) return l;
        if (m_busyTarget > 0 && m_rng.chance(static_cast<double>(m_busyTarget) / m_opt.items)) {
            l.contact = m_busy;
        } else if (m_busyProject > 0 &&
                   m_rng.chance(static_cast<double>(m_busyProjectTarget) / m_opt.items)) {
            l.project = m_busyProject;
        } else {
            const double r = m_rng.unit();
            if (r < 0.86) {
                int index;
                if (m_rng.chance(0.6)) {
                    index = m_rng.below(n);
                } else {
                    // u^1.5 as u * sqrt(u): both are exactly rounded everywhere, pow is not.
                    const double u = m_rng.unit();
                    index = std::min(n - 1, static_cast<int>(n * (u * std::sqrt(u))));
                }
                l.contact = 1 + static_cast<int>((static_cast<qint64>(index) * m_stride) % n);
            } else if (r < 0.99 && !m_projectContacts.empty()) {
                const int proj = m_rng.below(static_cast<int>(m_projectContacts.size()));
                l.project = proj + 1;
                const auto& linked = m_projectContacts[static_cast<size_t>(proj)];
                if (m_rng.chance(0.4))
                    l.contact = linked[static_cast<size_t>(m_rng.below(static_cast<int>(linked.size())))];
            }
        }
        if (l.contact.toInt() == m_busy) ++m_busyItems;
        if (l.project.toInt() == m_busyProject) ++m_busyProjectItems;
        return l;
    }

    // Days of the item window in rising order, so that record numbers grow with the dates as they do
    // when the items are entered over the years.
    std::vector<QDate> sortedDays(int count, const QDate& from, const QDate& to) {
        std::vector<int> offsets(static_cast<size_t>(count));
        const int span = static_cast<int>(from.daysTo(to)) + 1;
        for (int& o : offsets) o = m_rng.below(span);
        std::sort(offsets.begin(), offsets.end());
        std::vector<QDate> days;
        days.reserve(offsets.size());
        for (int o : offsets) days.push_back(from.addDays(o));
        return days;
    }

    QTime halfHour(int fromHour, int toHour) {
        return QTime(m_rng.between(fromHour, toHour), m_rng.chance(0.5) ? 30 : 0);
    }

    QString subject() {
        QString s = cat({m_rng.pick(m_v.verbs), QStringLiteral(" "), m_rng.pick(m_v.objects)});
        if (m_rng.chance(0.25)) s += QStringLiteral(" #%1").arg(m_rng.between(1000, 99999));
        return s;
    }

    QVariant body(double chance) { return m_rng.chance(chance) ? QVariant(paragraph(1, 4)) : QVariant(); }

    // A reminder for ~10 % of to-dos and appointments: the interval text for the item, the Remind row
    // written afterwards by writeReminder.
    QVariant reminderInterval(int& which) {
        which = -1;
        if (!m_rng.chance(0.1)) return {};
        which = m_rng.below(static_cast<int>(m_v.intervals.size()));
        return m_v.intervals.at(which);
    }

    // The reminder fires the interval before the item's date and time (midnight without a time),
    // counted on the wall clock as the dialogs do.
    void writeReminder(int which, const QDate& date, const QTime& time, qint64 itemId, bool appointment) {
        int minutes = time.isValid() ? time.hour() * 60 + time.minute() : 0;
        QDate day = date;
        minutes -= m_v.intervalMinutes[static_cast<size_t>(which)];
        const int daysBack = (-minutes + 1439) / 1440;
        if (minutes < 0) {
            day = day.addDays(-daysBack);
            minutes += daysBack * 1440;
        }
        const QTime at(minutes / 60, minutes % 60);
        m_out.insert(*m_remind,
                     {day, at, appointment ? QVariant() : QVariant(itemId),
                      appointment ? QVariant(itemId) : QVariant(),
                      appointment ? QStringLiteral("AP") : QStringLiteral("TD"), day < m_opt.today});
    }

    int share(double part) const { return static_cast<int>(m_opt.items * part + 0.5); }

    void writeToDos() {
        const std::vector<QDate> days = sortedDays(share(0.35), m_first, m_last);
        for (const QDate& due : days) {
            const Link l = link();
            const QTime time = m_rng.chance(0.55) ? halfHour(7, 18) : QTime();
            int which;
            const QVariant remAmt = reminderInterval(which);
            // ~5 % open in all, more of them among those still due.
            const bool open = m_rng.chance(due < m_opt.today ? 0.02 : 0.17);
            const qint64 id = m_out.insert(
                *m_todo, {subject(), body(0.5), due, time.isValid() ? QVariant(time) : QVariant(), l.contact,
                          l.project, which >= 0, remAmt, m_rng.chance(0.03), m_rng.chance(0.06), !open});
            if (which >= 0) writeReminder(which, due, time, id, false);
        }
    }

    QString callText() {
        switch (m_rng.weighted({40, 30, 30})) {
            case 0:
                return cat({QStringLiteral("Called about "), m_rng.pick(m_v.objects), QStringLiteral(". "),
                            m_rng.pick(m_v.sentences)});
            case 1:
                return QStringLiteral("Left a message about ") + m_rng.pick(m_v.objects) + QLatin1Char('.');
            default:
                return cat({QStringLiteral("Spoke with "), m_rng.pick(m_v.firstNames), QStringLiteral(". "),
                            paragraph(1, 3)});
        }
    }

    void writeNotes() {
        const std::vector<QDate> days = sortedDays(share(0.40), m_first, m_opt.today);
        std::vector<int> seconds(days.size());
        for (int& s : seconds) s = m_rng.between(7 * 3600, 21 * 3600 - 1);  // clear of daylight-saving gaps
        // Within a day too, later entries get later stamps.
        for (size_t i = 0; i < days.size();) {
            size_t j = i;
            while (j < days.size() && days[j] == days[i]) ++j;
            std::sort(seconds.begin() + static_cast<std::ptrdiff_t>(i),
                      seconds.begin() + static_cast<std::ptrdiff_t>(j));
            i = j;
        }
        for (size_t i = 0; i < days.size(); ++i) {
            const Link l = link();
            const bool call = m_rng.chance(0.4);
            const QDateTime stamp(days[i], QTime(0, 0).addSecs(seconds[i]));
            // Notes and calls without a link keep the column defaults, 0.
            m_out.insert(
                *m_attach,
                {call ? callText() : paragraph(1, 4), call ? QStringLiteral("C") : QStringLiteral("N"),
                 l.contact.isNull() ? QVariant(0) : l.contact, l.project.isNull() ? QVariant(0) : l.project,
                 m_rng.chance(0.05), m_rng.chance(0.03), stamp});
        }
    }

    void writeAppointments() {
        const int count = m_opt.items - share(0.35) - share(0.40);
        const std::vector<QDate> days = sortedDays(count, m_first, m_last);
        const QTime eight(8, 0), nine(9, 0);
        for (const QDate& from : days) {
            const Link l = link();
            const QDate to = m_rng.chance(0.85) ? from : from.addDays(m_rng.between(1, 4));
            const int kind = m_rng.weighted({80, 12, 8});  // timed, no time, all day
            QTime start = eight, end = nine;               // what the dialog shows for an untimed one
            if (kind == 0) {
                start = halfHour(7, 18);
                end = start.addSecs(1800 * m_rng.between(1, 6));
                if (end < start) end = QTime(23, 30);
            }
            QString what = m_rng.pick(m_v.apptSubjects);
            if (!l.contact.isNull() && m_rng.chance(0.5)) {
                what +=
                    QStringLiteral(" with ") + m_people[static_cast<size_t>(l.contact.toInt() - 1)].shownName;
            }
            int which;
            const QVariant remAmt = reminderInterval(which);
            const qint64 id =
                m_out.insert(*m_appts, {what.left(255), body(0.4), from, to, start, end, l.contact, l.project,
                                        which >= 0, remAmt, m_rng.chance(0.03), kind == 1, kind == 2});
            if (which >= 0) writeReminder(which, from, start, id, true);
        }
    }

    const SeedOptions m_opt;
    Rng m_rng;
    Writer m_out;
    const Vocabulary m_v;
    QDate m_first, m_last;  // the item window
    int m_busy = 0;
    static constexpr int kBusyValues = 60;  // user-defined values of the busy contact
    static constexpr int kBusyLinks = 30;   // and its linked contacts
    int m_busyTarget = 0;
    int m_busyItems = 0;
    int m_busyProject = 0;  // the project given a long history, as the contact above
    int m_busyProjectTarget = 0;
    int m_busyProjectItems = 0;
    int m_stride = 1;
    std::vector<Contact> m_people;                    // by ContID - 1
    std::vector<std::vector<int>> m_projectContacts;  // by ProjID - 1

    Table* m_lookup;
    Table* m_contacts;
    Table* m_phone;
    Table* m_email;
    Table* m_address;
    Table* m_comments;
    Table* m_cFields;
    Table* m_cValues;
    Table* m_relateCont;
    Table* m_projects;
    Table* m_pComments;
    Table* m_pFields;
    Table* m_pValues;
    Table* m_relateProject;
    Table* m_todo;
    Table* m_attach;
    Table* m_appts;
    Table* m_remind;
};

qint64 count(db::Database& database, const QString& table) {
    db::Recordset rs = database.OpenRecordset(QStringLiteral("SELECT COUNT(*) AS N FROM ") + table);
    return rs.Eof() ? 0 : rs.Value(0).toLongLong();
}

}  // namespace

SeedReport seed(db::Database& database, const SeedOptions& options) {
    if (options.contacts < 0 || options.items < 0) throw std::invalid_argument("negative counts");
    if (options.items > 0 && options.contacts == 0) throw std::invalid_argument("items need contacts");
    if (!options.today.isValid()) throw std::invalid_argument("no valid date for today");
    for (const char* table : {"Contacts", "Projects", "ToDo", "Appts", "Attach", "Lookup", "CUserFields"}) {
        if (count(database, QString::fromLatin1(table)) > 0) {
            throw std::invalid_argument(std::string("the database is not blank: ") + table + " has rows");
        }
    }
    return Seeder(database, options).run();
}

}  // namespace bench
